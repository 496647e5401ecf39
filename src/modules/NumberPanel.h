#pragma once

#include <QByteArray>

class EntryTree;
class QComboBox;
class QLabel;
class QLineEdit;
class TForm1;

// A keyboard memory and a module button work alike: a name and up to seven phone numbers, each one an
// entry "M" (or "B") + name + "-" + position. One panel of controls edits one number of either.
struct NumberPanel {
    QByteArray letter;
    QLineEdit* name;
    QComboBox* position;
    QLabel* label;
    QLineEdit* number;
    // The numbers of the selected memory or button; its selection is the number a write goes over.
    EntryTree* numbers;
};

NumberPanel memoPanel(TForm1& form);
NumberPanel buttonPanel(TForm1& form);

// The entry name without its letter: name + "-" + position.
QByteArray suffix(const NumberPanel& panel);
// The entry name a write would use, in brackets.
void showPreview(const NumberPanel& panel);
