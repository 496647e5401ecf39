#include "app/TForm1.h"

void TForm1::LoadListClick() {}
void TForm1::ClrListClick() {}
void TForm1::UpgradeClick() {}
void TForm1::UploadStep(int) {}
int TForm1::ReadListedFile(int) { return 0; }
int TForm1::ReadNamedFile(const QByteArray&) { return 0; }
