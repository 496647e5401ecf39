#pragma once

#include "core/CodePage.h"

#include <QByteArray>
#include <QString>

// Texts from the unit and from files are 8-bit byte strings in the system's code page. The model keeps
// them as bytes; only the widgets hold QString. The code page maps every byte to a character of its own
// and back, so whatever was read is written back unchanged.

// The code page in use; until start-up chooses one, that of the system's language.
const CodePage& codePage();
void setCodePage(const CodePage& page);

inline QString fromBytes(const QByteArray& bytes) {
    return codePage().decode(bytes);
}
// A character the code page cannot hold is a Failure naming it.
inline QByteArray toBytes(const QString& text) {
    return codePage().encode(text);
}

// Strict decimal conversion of a received or stored value; anything else is a Failure.
int toInt(const QByteArray& text);
