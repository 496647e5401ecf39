#pragma once

#include <QByteArray>
#include <QString>

// Texts from the unit and from files are 8-bit byte strings. The model keeps them as bytes; only the
// widgets hold QString. Latin-1 maps every byte to one character and back, so whatever was read is
// written back unchanged.
inline QString fromBytes(const QByteArray& bytes) {
    return QString::fromLatin1(bytes);
}
inline QByteArray toBytes(const QString& text) {
    return text.toLatin1();
}

// Strict decimal conversion of a received or stored value; anything else is a Failure.
int toInt(const QByteArray& text);
