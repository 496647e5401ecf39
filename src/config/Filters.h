#pragma once

#include <QByteArray>

// Input filters of the numeric edits. Each trims the text (blanks and control characters at both
// ends), keeps the longest leading run of allowed characters, and shapes the result.

// Relay switching time: two digits, "01" .. "99"; an empty or zero time gives "01".
QByteArray FilterTime(const QByteArray& text);
// Relay switching code: one digit; an empty text gives "0".
QByteArray FilterCode(const QByteArray& text);
// Phone numbers: digits, "+", "*" and "#", at most 20; a single character is left as typed.
QByteArray FilterPhone(const QByteArray& text);
// Code and position numbers: digits, at most 15.
QByteArray FilterDigits(const QByteArray& text);
