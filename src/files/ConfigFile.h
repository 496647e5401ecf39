#pragma once

#include <QByteArray>
#include <QString>

struct Configuration;

// The bytes of a configuration file, once they are known to be one: a regular file of at most a few MiB,
// not empty, text without NUL bytes and mostly without other control characters, with at least one
// name=value line. Anything else is a Failure naming the file (and the line, where one line is at
// fault), raised before anything is applied. A file saved as UTF-8 with its byte-order mark is taken
// in the code page.
QByteArray readConfiguration(const QString& path);

// The configuration file of a configuration: the 27 fixed entries under their keys, then the rows, each
// line ended by CR LF.
QByteArray configurationFile(const Configuration& configuration);
