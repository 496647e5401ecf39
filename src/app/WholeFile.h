#pragma once

#include <QByteArray>
#include <QString>

// Files are read and written whole, as bytes.

// The whole content of a file; a file that cannot be read is a Failure naming it.
QByteArray readWholeFile(const QString& path);
// Creates or replaces the file. An existing file stays as it was until the new content is complete
// on disk; a file that cannot be written is a Failure naming it and the system's reason.
void writeWholeFile(const QString& path, const QByteArray& data);
