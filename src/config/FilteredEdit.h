#pragma once

#include <QByteArray>

class QLineEdit;

using TextFilter = QByteArray (*)(const QByteArray&);

// The pattern of every filtered edit's change handler: the edit's text passes through its filter and
// the caret goes after the last character. Setting the filtered text runs the handler once more,
// which finds nothing left to change.
void filterEdit(QLineEdit* edit, TextFilter filter);
