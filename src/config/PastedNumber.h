#pragma once

#include <QString>

class QLineEdit;

// A phone number pasted or dropped as people write it ("+420 603 111 222", "(603) 111–222") keeps its
// digits: blanks, dashes of every kind, dots, slashes and brackets leave the text before the edit's own
// filter sees it. What is typed reaches the filter unchanged.
QString withoutNumberSeparators(const QString& text);
void cleanPastedNumbers(QLineEdit* edit);
