#include "app/TForm1.h"

void TForm1::RelRing1Click() {}
void TForm1::RelRingAll1Click() {}
void TForm1::RelRing2Click() {}
void TForm1::RelRingAll2Click() {}
void TForm1::SIMCallClick() {}
void TForm1::AllCallClick() {}
void TForm1::RelSMS1Click() {}
void TForm1::RelCam1Click() {}
void TForm1::RelLi1Click() {}
void TForm1::RelBut1Click() {}
void TForm1::RelSMS2Click() {}
void TForm1::RelCam2Click() {}
void TForm1::RelLi2Click() {}
void TForm1::RelBut2Click() {}
void TForm1::RelCode1Change() {}
void TForm1::RelCode2Change() {}
void TForm1::RelTime1Change() {}
void TForm1::RelTime2Change() {}
void TForm1::ADMINChange(int) {}
void TForm1::ABUTTONChange(int) {}
void TForm1::AABUTTONChange(int) {}
void TForm1::BBUTTONChange(int) {}
