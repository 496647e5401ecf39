#include "app/TForm1.h"
#include "config/FilteredEdit.h"
#include "config/Filters.h"

// Interlocks: a relay switches on ringing only as a plain switch with incoming calls left ringing
// (NoCall); the two ringing boxes of one relay exclude each other.

void TForm1::RelRing1Click() {
    if (!RelRing1->isChecked()) return;
    NoCall->setChecked(true);
    RelSW1->setChecked(true);
    RelRingAll1->setChecked(false);
}

void TForm1::RelRingAll1Click() {
    if (!RelRingAll1->isChecked()) return;
    NoCall->setChecked(true);
    RelSW1->setChecked(true);
    RelRing1->setChecked(false);
}

void TForm1::RelRing2Click() {
    if (!RelRing2->isChecked()) return;
    NoCall->setChecked(true);
    RelSW2->setChecked(true);
    RelRingAll2->setChecked(false);
}

void TForm1::RelRingAll2Click() {
    if (!RelRingAll2->isChecked()) return;
    NoCall->setChecked(true);
    RelSW2->setChecked(true);
    RelRing2->setChecked(false);
}

// Hanging up calls rules out switching on SIM ringing; switching on all ringing stays as it is.
void TForm1::SIMCallClick() {
    if (NoCall->isChecked()) return;
    RelRing1->setChecked(false);
    RelRing2->setChecked(false);
}

void TForm1::AllCallClick() {
    SIMCallClick();
}

// Any relay function other than "switch" clears that relay's ringing boxes. The radio handlers run
// only when their radio becomes checked.
void TForm1::RelSMS1Click() {
    RelRing1->setChecked(false);
    RelRingAll1->setChecked(false);
}

void TForm1::RelCam1Click() {
    RelSMS1Click();
}
void TForm1::RelLi1Click() {
    RelSMS1Click();
}
void TForm1::RelBut1Click() {
    RelSMS1Click();
}

void TForm1::RelSMS2Click() {
    RelRing2->setChecked(false);
    RelRingAll2->setChecked(false);
}

void TForm1::RelCam2Click() {
    RelSMS2Click();
}
void TForm1::RelLi2Click() {
    RelSMS2Click();
}
void TForm1::RelBut2Click() {
    RelSMS2Click();
}

void TForm1::RelCode1Change() {
    filterEdit(RelCode1, FilterCode);
}
void TForm1::RelCode2Change() {
    filterEdit(RelCode2, FilterCode);
}
void TForm1::RelTime1Change() {
    filterEdit(RelTime1, FilterTime);
}
void TForm1::RelTime2Change() {
    filterEdit(RelTime2, FilterTime);
}

void TForm1::ADMINChange(int n) {
    filterEdit(ADMIN[n - 1], FilterPhone);
}

// ABUTTON and AABUTTON edits of one number are two views of the same number: each copies its
// filtered text into its twin, whose handler finds an equal text and copies nothing back.
void TForm1::ABUTTONChange(int n) {
    filterEdit(ABUTTON[n - 1], FilterPhone);
    AABUTTON[n - 1]->setText(ABUTTON[n - 1]->text());
}

void TForm1::AABUTTONChange(int n) {
    filterEdit(AABUTTON[n - 1], FilterPhone);
    ABUTTON[n - 1]->setText(AABUTTON[n - 1]->text());
}

void TForm1::BBUTTONChange(int n) {
    filterEdit(BBUTTON[n - 1], FilterPhone);
}
