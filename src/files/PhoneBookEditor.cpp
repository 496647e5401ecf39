#include "app/TForm1.h"
#include "core/Bytes.h"
#include "files/PhoneBookList.h"

void TForm1::LineInClick() {
    PhoneBook1->insertAtCurrent();
}

// With an empty list there is no row to delete, and nothing happens.
void TForm1::LineDelClick() {
    PhoneBook1->deleteCurrent();
}

// The name is looked for as typed, blanks and all; finding nothing says nothing.
void TForm1::FindClick() {
    const int row = PhoneBook1->findName(toBytes(FindN->text()));
    if (row < 0) return;
    PhoneBook1->setCurrentLine(row);
    PhoneBook1->setFocus();
}
