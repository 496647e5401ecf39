#include "app/TForm1.h"

void TForm1::SaveClick() {}

void TForm1::LoadClick() {}
