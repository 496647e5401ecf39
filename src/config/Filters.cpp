#include "config/Filters.h"

namespace {

const QByteArray Digits = "0123456789";

// Blanks and control characters (every byte up to the space) go from both ends.
QByteArray trimmed(const QByteArray& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    return text.mid(first, last - first);
}

// The longest leading run of allowed characters: "12a34" gives "12".
QByteArray cut(const QByteArray& text, const QByteArray& allowed) {
    qsizetype length = 0;
    while (length < text.size() && allowed.contains(text[length]))
        ++length;
    return text.left(length);
}

bool isZero(const QByteArray& digits) {
    return digits.count('0') == digits.size();
}

} // namespace

QByteArray FilterTime(const QByteArray& text) {
    const QByteArray time = ("00" + cut(trimmed(text), Digits)).right(2);
    return isZero(time) ? QByteArray("01") : time;
}

QByteArray FilterCode(const QByteArray& text) {
    return ("0" + cut(trimmed(text), Digits)).right(1);
}

QByteArray FilterPhone(const QByteArray& text) {
    const QByteArray number = trimmed(text);
    if (number.size() < 2) return number;
    return cut(number, "0123456789+*#").left(20);
}

QByteArray FilterDigits(const QByteArray& text) {
    return cut(trimmed(text), Digits).left(15);
}
