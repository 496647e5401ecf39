#include "app/TForm1.h"

void TForm1::SaveORUClick() {}

void TForm1::DisableControls() {}

void TForm1::EnableControls() {}

void TForm1::programmingStep() {}

void TForm1::WriteEntry(const QByteArray&, const QByteArray&) {}
