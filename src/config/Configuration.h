#pragma once

#include "config/FixedEntries.h"
#include "config/SimLocation.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QMap>
#include <array>

// A unit's whole configuration as a plain value: the 27 fixed entries (numbers, alarm texts and the four
// parameter strings, as bytes), the phone-book rows in order as name=number lines (module and DETECT
// entries among them), and the SIM's size. The unit, a file and the window each give one; comparing two
// says what differs.
struct Configuration {
    // By the entries' numbers 1 … 27 less one: fixed[0] is ADMIN1, fixed[26] PARKEY. Empty is none.
    std::array<QByteArray, FixedEntries::Count> fixed;
    QByteArrayList rows;
    // 0 while the SIM has not said.
    int simCapacity = 0;

    QByteArray& entry(int number) { return fixed[number - 1]; }
    const QByteArray& entry(int number) const { return fixed[number - 1]; }
    friend bool operator==(const Configuration&, const Configuration&) = default;
};

// A row's name: the text before its first "="; empty for a row without one.
QByteArray rowName(const QByteArray& row);
// A row's number: the text after its first "="; the whole row when it has none.
QByteArray rowNumber(const QByteArray& row);

// What a read-back of these locations puts in the window: each fixed entry from the last location that
// carries its name, the script version (VER) nowhere, every other entry as a row in location order.
Configuration configurationOf(const QMap<int, SimLocation>& held, int capacity);

// The entries of these locations that configurationOf leaves out: VER, and each fixed entry but the last
// of its name, as "location N: NAME=number".
QStringList entriesLeftOut(const QMap<int, SimLocation>& held);

// The value as the window's edits show it: the call-button and administrator numbers pass the
// phone-number filter, as every number typed, read or loaded does.
Configuration asShown(Configuration configuration);

// The configuration that programs every entry of these locations back: each fixed entry from the first
// location of its name, every other location, the script version and repeated names among them, as a
// row in location order.
Configuration restoring(const QMap<int, SimLocation>& held, int capacity);

// Whether every fixed entry, and the phone book as a whole, of shown stands as it is in one of copies:
// then nothing of it would be lost with the window.
bool keptIn(const Configuration& shown, const QList<Configuration>& copies);
