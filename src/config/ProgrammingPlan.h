#pragma once

#include "config/Configuration.h"
#include "config/SimLocation.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

// An entry the programming sequence writes.
struct PlannedEntry {
    QByteArray name;
    QByteArray number;
    // How the entry is named to the user.
    QString label;
};

// The entry the sequence writes at a step: the fixed entries at steps 1 … 27, then the rows; an entry with
// an empty name or number takes no location, and an empty phone book still costs one such step. None
// once the rows are used up: from there on every step clears a location.
std::optional<PlannedEntry> plannedEntryAt(const Configuration& configuration, int step);

// The entries that take a location, in the order the sequence writes them, whether or not the SIM has
// room for them.
QList<PlannedEntry> writtenEntries(const Configuration& configuration);

// What programming leaves in each location from 1 to the SIM's capacity; locations it clears are not
// listed.
QMap<int, PlannedEntry> programmingPlan(const Configuration& configuration);

// The entries that take a location but find none left on the SIM, by their labels.
QStringList entriesBeyondCapacity(const Configuration& configuration);

// A location that programming would change.
struct LocationChange {
    int location;
    SimLocation before;
    SimLocation after;
};

// The locations from 1 to capacity whose content differs between before and after; a location missing
// from either is clear there.
QList<LocationChange> locationChanges(const QMap<int, SimLocation>& before,
                                      const QMap<int, SimLocation>& after, int capacity);

// What each location holds once the plan is written.
QMap<int, SimLocation> plannedLocations(const QMap<int, PlannedEntry>& plan);

// The locations from 1 to capacity whose content would change from what the unit holds (held) to what
// programming writes (plan).
QList<LocationChange> planChanges(const QMap<int, PlannedEntry>& plan, const QMap<int, SimLocation>& held,
                                  int capacity);

// A location's content as the user reads it: "number" named "name", or (empty).
QString describe(const SimLocation& location);

// "location 6", "locations 2 to 9, 18, 200": the locations given, in ascending order, runs shortened.
QString locationList(const QList<int>& locations);

// "1 location", "250 locations".
QString locationCount(qsizetype count);
