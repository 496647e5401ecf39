#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Cuts of the unit's texts by the first occurrence of a separator, the way the entry lines and the
// tree nodes are taken apart.

// Everything after the first separator; the whole text when there is none.
inline QByteArray cutThrough(const QByteArray& text, QByteArrayView separator) {
    const qsizetype at = text.indexOf(separator);
    return at < 0 ? text : text.mid(at + separator.size());
}

// Everything before the first separator; empty when there is none.
inline QByteArray textBefore(const QByteArray& text, QByteArrayView separator) {
    const qsizetype at = text.indexOf(separator);
    return at < 0 ? QByteArray() : text.left(at);
}

// The text between the first open and the first close; empty when either is missing or close comes first.
inline QByteArray textBetween(const QByteArray& text, QByteArrayView open, QByteArrayView close) {
    const qsizetype from = text.indexOf(open);
    const qsizetype to = text.indexOf(close);
    if (from < 0 || to < from + open.size()) return {};
    return text.mid(from + open.size(), to - from - open.size());
}
