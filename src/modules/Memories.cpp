#include "app/TForm1.h"

void TForm1::MemoChange() {}
void TForm1::PosMemoChange() {}
void TForm1::MemoPNumberChange() {}
void TForm1::AddMemoClick() {}
void TForm1::WriteMemoClick() {}
void TForm1::ButtonChange() {}
void TForm1::PosButtonChange() {}
void TForm1::ButtonPNumberChange() {}
void TForm1::AddButtonClick() {}
void TForm1::WriteButtonClick() {}
void TForm1::DetButClick() {}
