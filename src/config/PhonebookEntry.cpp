#include "config/PhonebookEntry.h"

#include "config/TextCuts.h"

PhonebookEntry PhonebookEntry::parse(const QByteArray& line) {
    PhonebookEntry entry;
    QByteArray rest = cutThrough(line, ":");
    entry.index = textBefore(rest, ",").trimmed();
    rest = cutThrough(rest, "\"");
    entry.number = textBefore(rest, "\"");
    // The number's closing quote is not looked for: the name follows the first comma after its opening one.
    rest = cutThrough(cutThrough(rest, ","), "\"");
    entry.name = textBefore(rest, "\"");
    return entry;
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
