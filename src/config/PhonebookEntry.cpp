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
