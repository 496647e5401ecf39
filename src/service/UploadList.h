#pragma once

#include <QByteArray>
#include <QByteArrayList>

class QPlainTextEdit;

// The upgrade list is a memo with one entry a line; its texts are bytes like everything read from files,
// a CR inside an entry included. An empty memo holds no entries, unless one blank entry was added to it.
int listLineCount(const QPlainTextEdit* list);
// The entry of the given index; the empty text beyond the last one.
QByteArray listLine(const QPlainTextEdit* list, int index);
// The entry as the list shows it, for messages: it needs no code page.
QString shownListLine(const QPlainTextEdit* list, int index);
// Adds the entries after the last one, blank ones included.
void appendListLines(QPlainTextEdit* list, const QByteArrayList& lines);
