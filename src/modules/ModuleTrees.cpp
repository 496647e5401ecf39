#include "app/TForm1.h"

void TForm1::PlaceModuleEntry(const QByteArray&, const QByteArray&, const QByteArray&) {}
void TForm1::TreeButtonsClick() {}
void TForm1::TreeMemoClick() {}
void TForm1::TreeButtonsSelClick() {}
void TForm1::TreeMemoSelClick() {}
void TForm1::DelButtonClick() {}
void TForm1::DelButtonSelClick() {}
void TForm1::DelMemoClick() {}
void TForm1::DelMemoSelClick() {}
void TForm1::DelCodeClick() {}
