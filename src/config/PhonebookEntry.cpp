#include "config/PhonebookEntry.h"

#include "config/TextCuts.h"
#include "core/Bytes.h"

#include <algorithm>

PhonebookEntry PhonebookEntry::parse(const QByteArray& line) {
    PhonebookEntry entry;
    QByteArray rest = cutThrough(line, ":");
    entry.index = textBefore(rest, ",").trimmed();
    rest = cutThrough(rest, "\"");
    entry.number = textBefore(rest, "\"");
    // The name is the last quoted field: it opens after the type field that follows the number's
    // closing quote and runs to the line's last quote, so commas and quotes inside it stay its own.
    const qsizetype numberEnd = rest.indexOf('"');
    if (numberEnd < 0) return entry;
    rest = cutThrough(cutThrough(rest.mid(numberEnd + 1), ","), "\"");
    const qsizetype nameEnd = rest.lastIndexOf('"');
    if (nameEnd >= 0) entry.name = rest.left(nameEnd);
    return entry;
}

int locationOf(const QByteArray& index, int capacity) {
    if (index.isEmpty() ||
        !std::all_of(index.begin(), index.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    bool ok = false;
    const int location = index.toInt(&ok);
    if (!ok || location < 1 || (capacity > 0 && location > capacity)) return 0;
    return location;
}

QString notALocation(const QByteArray& index, int capacity) {
    const QString text = QStringLiteral("The unit's location \"%1\" is not ").arg(fromBytes(index));
    return capacity > 0 ? text + QStringLiteral("one of its SIM's locations 1 to %1.").arg(capacity)
                        : text + QStringLiteral("a location number.");
}

QString breakingCharacter(const QByteArray& text) {
    for (const char c : text) {
        switch (c) {
        case ',':
            return QStringLiteral("a comma");
        case ';':
            return QStringLiteral("a semicolon");
        case '"':
            return QStringLiteral("a double quote");
        case '\r':
        case '\n':
            return QStringLiteral("a line break");
        default:
            // Any other control byte, a NUL among them, would reach the module's parser as it is.
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                return QStringLiteral("a control character (code %1)").arg(static_cast<unsigned char>(c));
            break;
        }
    }
    return {};
}
