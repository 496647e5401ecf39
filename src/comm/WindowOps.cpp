#include "app/TForm1.h"

void TForm1::ShowRunState() {}

void TForm1::ShowStopState() {}

void TForm1::EndWait() {}

void TForm1::ResetEntryView() {}
