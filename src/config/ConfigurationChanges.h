#pragma once

#include "config/Configuration.h"
#include "config/SimLocation.h"

#include <QList>
#include <QMap>
#include <QStringList>

// One field of a parameter string: its entry (24 … 27), 1-based position and width.
struct ParameterField {
    int entry;
    int position;
    int width;
    // Shown after the value, as "s" for seconds; empty for none.
    const char* unit;
};

// Every field of PARORU, PARRL1, PARRL2 and PARKEY, in that order.
const QList<ParameterField>& parameterFields();

// What programming a configuration would do to a unit, by meaning: each line names a fixed entry, a
// setting (by the caption of its control) or a phone-book row, with its value now and after.
struct ConfigurationChanges {
    QStringList lines;
    // How many SIM locations would be written or cleared.
    qsizetype locationsRewritten = 0;
    // What the unit holds that programming would drop: the script version, repeated settings entries
    // and the rows that find no location.
    QStringList lost;

    bool isEmpty() const { return lines.isEmpty() && lost.isEmpty() && locationsRewritten == 0; }
};

// held: the unit's locations; wanted: what programming writes (its SIM size is the unit's); fieldNames:
// one name for each of parameterFields().
ConfigurationChanges configurationChanges(const QMap<int, SimLocation>& held, const Configuration& wanted,
                                          const QStringList& fieldNames);
