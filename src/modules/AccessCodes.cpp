#include "app/TForm1.h"

void TForm1::WriteCodeClick(int) {}
void TForm1::CodeMChange(int) {}
void TForm1::OnClickCode() {}
void TForm1::AddCodeClick() {}
