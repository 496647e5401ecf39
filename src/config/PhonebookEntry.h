#pragma once

#include <QByteArray>
#include <QString>

// One location of the SIM phonebook as the unit reports it: index, number and name texts, without quotes.
struct PhonebookEntry {
    QByteArray index;
    QByteArray number;
    QByteArray name;

    // Takes a "+CPBR:" line apart: the index before the first "," (trimmed), the number as the first
    // quoted field and the name as the last, each whole with any commas or quotes inside. A line
    // without its quotes gives empty or shortened fields.
    static PhonebookEntry parse(const QByteArray& line);
    // The text of the entry's tree node: index + ":" + name + "[" + number + "]".
    QByteArray nodeText() const { return index + ':' + name + '[' + number + ']'; }
};

// The location an index names on a SIM of capacity locations: digits only, from 1 to capacity (any
// such number while the size is not known yet, capacity 0); 0 when the index is no location.
int locationOf(const QByteArray& index, int capacity);
// Says why locationOf refused the index.
QString notALocation(const QByteArray& index, int capacity);

// Numbers and names are written without quotes, so the unit's command parser would cut a field at a
// comma, a semicolon, a double quote, a line break or another control byte. Names the first such
// character ("a comma"); empty when the text goes out whole.
QString breakingCharacter(const QByteArray& text);
