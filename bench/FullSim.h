#pragma once

#include "sim/SimOptions.h"

#include <QByteArray>
#include <QMap>

namespace bench {

inline QByteArray number(int seed) {
    return "+420" + QByteArray::number(600000000 + seed * 7919 % 100000000);
}

// A configured unit of the given size: the fixed entries, the version, then a mix of phone-book rows, button
// and memory numbers, access codes and the detection entry, filling every location. A unit too small for the
// fixed entries holds the first of them.
inline QMap<int, SimEntry> fullSim(int capacity) {
    QMap<int, SimEntry> entries;
    int location = 1;
    const auto put = [&](const QByteArray& value, const QByteArray& name) {
        if (location <= capacity) entries.insert(location, {value, name});
        ++location;
    };
    for (const char* group : {"ADMIN", "ABUTTON", "BBUTTON"})
        for (int n = 1; n <= 7; ++n)
            put(number(location), group + QByteArray::number(n));
    put("Door open at the back entrance", "ALARMON");
    put("Door closed", "ALARMOFF");
    put("4#4#0#0#1#7#2#0", "PARORU");
    put("5#1#03#1", "PARRL1");
    put("6#1#03#1", "PARRL2");
    put("2#0", "PARKEY");
    put("2.14", "VER");
    put("1", "DETECT");
    // Module entries arrive in no particular order: the unit stores them where there was room.
    for (int i = 0; location <= capacity; ++i) {
        const int kind = i % 5;
        const int owner = (i * 37) % (capacity / 10 + 1) + 1;
        const QByteArray position = QByteArray::number(i % 7 + 1);
        if (kind == 0) put(number(i), "Contact " + QByteArray::number(i));
        if (kind == 1 || kind == 2) put(number(i), "B" + QByteArray::number(owner) + "-" + position);
        if (kind == 3) put(number(i), "M" + QByteArray::number(owner) + "-" + position);
        if (kind == 4) put("1#" + QByteArray::number(i % 5) + "#0", "C" + QByteArray::number(1000 + i) + "C");
    }
    return entries;
}

// The same unit as NAME=NUMBER lines, as zuvovu-sim --phonebook takes them.
inline QByteArray fullSimFile(int capacity) {
    QByteArray text;
    const QMap<int, SimEntry> entries = fullSim(capacity);
    for (const SimEntry& entry : entries)
        text += entry.name + "=" + entry.number + "\n";
    return text;
}

} // namespace bench
