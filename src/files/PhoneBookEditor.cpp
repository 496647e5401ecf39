#include "app/TForm1.h"

void TForm1::LineInClick() {}

void TForm1::LineDelClick() {}

void TForm1::FindClick() {}
