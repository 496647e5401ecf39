#include "app/TForm1.h"

void TForm1::ApdComPort1TriggerAvail(quint16) {}

void TForm1::LedTimerTimer() {}
