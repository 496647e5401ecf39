#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QList>

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
// The entries after the blank one at index that the upload does not reach, by index.
QList<int> linesAfterBlank(const QPlainTextEdit* list, int index);

// A list file's entries: a line feed ends a line, with or without a CR before it, and does not start another.
QByteArrayList listFileLines(const QByteArray& text);

// What an entry asks for: the first keyword it holds wherever it stands, or a script file named by the whole
// line.
enum class UploadKind { Run, Audio, Set, Delete, Script };
UploadKind uploadKind(const QByteArray& line);
// The text after the line's first ":", wherever the keyword stands.
QByteArray uploadArgument(const QByteArray& line);
// The name of the file on the PC that an entry sends: an audio line's argument, a script line whole; empty
// for the entries that send a command only.
QByteArray uploadFileName(const QByteArray& line);
