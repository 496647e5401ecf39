#pragma once

#include <QByteArray>

// size bytes that run through every byte value, zero, CR and LF among them.
inline QByteArray everyByteValue(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 % 256);
    return bytes;
}
