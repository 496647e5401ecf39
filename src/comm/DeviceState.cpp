#include "app/TForm1.h"

void TForm1::RunORUClick() {}

void TForm1::StopORUClick() {}

void TForm1::LoadORUClick() {}

void TForm1::CekaniTimer() {}

void TForm1::signalClick() {}

void TForm1::IMEIClick() {}

void TForm1::InicializaceClick() {}
