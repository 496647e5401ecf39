#pragma once

#include <QByteArray>
#include <QString>

// Files are read and written whole, as bytes.

// The usual bound for a text file the program reads: settings, configurations, upgrade lists.
constexpr qint64 TextFileLimit = 4 * 1024 * 1024;

// The whole content of a regular file of at most maxSize bytes (a link to one is followed). A FIFO, a
// device or a folder is refused without being opened for reading, so that it can neither block nor run
// on forever; that, a larger file, or a file that cannot be read is a Failure naming it.
QByteArray readWholeFile(const QString& path, qint64 maxSize = TextFileLimit);
// Creates or replaces the file. An existing file stays as it was until the new content is complete
// on disk; a file that cannot be written is a Failure naming it and the system's reason. A link is
// followed and its target replaced; a device or a FIFO is written into, never replaced, and a FIFO
// without a reader is a Failure rather than a wait.
void writeWholeFile(const QString& path, const QByteArray& data);
// Whether writeWholeFile could write the file, before anything is done that depends on it: a Failure
// naming the file and why not (its folder missing or not writable, a folder in its place). Nothing is
// written, and a device or a FIFO is not opened, since that could disturb whoever reads it.
void checkWritable(const QString& path);
