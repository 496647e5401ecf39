#pragma once

#include "config/Configuration.h"

#include <QByteArray>
#include <QStringList>

// What the SIM said of itself in its size answer, "+CPBR: (1-N),numberLength,textLength"; a length of 0
// is one it did not say.
struct SimLimits {
    int capacity = 0;
    int numberLength = 0;
    int textLength = 0;
};

// Reads the limits from a size answer; those it does not state stay 0.
SimLimits simLimits(const QByteArray& sizeAnswer);

// A name with a comma goes out in the quoted form of the write command, which carries it whole.
bool needsQuotedWrite(const QByteArray& name);

// Every reason why programming the configuration would not leave it whole on the unit, each naming the
// entry: a value longer than the SIM's field, more entries than locations, a character the command
// cannot carry, a text the unit's answers would be taken for when it is read back. Empty when the plan
// can be written.
QStringList planProblems(const Configuration& configuration, const SimLimits& limits);

// The problems of the entries' fields alone, each naming the entry; with no limits given, those that need
// nothing of the SIM: a character the command cannot carry, a text the unit's answers would be taken for.
QStringList fieldProblems(const Configuration& configuration, const SimLimits& limits = {});
