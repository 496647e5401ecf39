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
            break;
        }
    }
    return {};
}
