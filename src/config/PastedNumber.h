#pragma once

#include <QString>

class QLineEdit;

// A phone number pasted as people write it ("+420 603 111 222", "(603) 111-222") keeps its digits:
// blanks, dashes, dots, slashes and brackets leave the pasted text before the edit's own filter sees
// it. What is typed reaches the filter unchanged.
QString withoutNumberSeparators(const QString& text);
void cleanPastedNumbers(QLineEdit* edit);
