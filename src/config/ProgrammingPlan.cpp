#include "config/ProgrammingPlan.h"

#include "config/FixedEntries.h"
#include "core/Bytes.h"

std::optional<PlannedEntry> plannedEntryAt(const Configuration& configuration, int step) {
    if (step <= FixedEntries::Count) {
        const QByteArray name = FixedEntries::name(step);
        return PlannedEntry{name, configuration.entry(step), fromBytes(name)};
    }
    const int row = step - FixedEntries::Count;
    const qsizetype rows = configuration.rows.size();
    // An empty phone book still shows one empty row: that row is written as an empty entry.
    if (row > qMax(rows, qsizetype(1))) return std::nullopt;
    if (row > rows) return PlannedEntry{};
    const QByteArray& line = configuration.rows.at(row - 1);
    const QByteArray name = rowName(line);
    return PlannedEntry{name, rowNumber(line),
                        QStringLiteral("%1 (phone-book row %2)").arg(fromBytes(name)).arg(row)};
}

QList<PlannedEntry> writtenEntries(const Configuration& configuration) {
    QList<PlannedEntry> entries;
    for (int step = 1;; ++step) {
        const std::optional<PlannedEntry> entry = plannedEntryAt(configuration, step);
        if (!entry) return entries;
        if (!entry->name.isEmpty() && !entry->number.isEmpty()) entries << *entry;
    }
}

QMap<int, PlannedEntry> programmingPlan(const Configuration& configuration) {
    QMap<int, PlannedEntry> plan;
    for (const PlannedEntry& entry : writtenEntries(configuration).mid(0, configuration.simCapacity))
        plan.insert(int(plan.size()) + 1, entry);
    return plan;
}

QStringList entriesBeyondCapacity(const Configuration& configuration) {
    QStringList beyond;
    for (const PlannedEntry& entry : writtenEntries(configuration).mid(configuration.simCapacity))
        beyond << entry.label;
    return beyond;
}

QList<LocationChange> locationChanges(const QMap<int, SimLocation>& before,
                                      const QMap<int, SimLocation>& after, int capacity) {
    QList<LocationChange> changes;
    for (int location = 1; location <= capacity; ++location) {
        const SimLocation was = before.value(location);
        const SimLocation is = after.value(location);
        if (was != is) changes.append({location, was, is});
    }
    return changes;
}

QMap<int, SimLocation> plannedLocations(const QMap<int, PlannedEntry>& plan) {
    QMap<int, SimLocation> locations;
    for (auto it = plan.begin(); it != plan.end(); ++it)
        locations.insert(it.key(), {it->number, it->name});
    return locations;
}

QList<LocationChange> planChanges(const QMap<int, PlannedEntry>& plan, const QMap<int, SimLocation>& held,
                                  int capacity) {
    return locationChanges(held, plannedLocations(plan), capacity);
}

QString describe(const SimLocation& location) {
    if (location.number.isEmpty() && location.name.isEmpty()) return QStringLiteral("(empty)");
    return QStringLiteral("\"%1\" named \"%2\"").arg(fromBytes(location.number), fromBytes(location.name));
}

QString locationList(const QList<int>& locations) {
    QStringList runs;
    for (qsizetype i = 0; i < locations.size();) {
        qsizetype last = i;
        while (last + 1 < locations.size() && locations[last + 1] == locations[last] + 1)
            ++last;
        runs << (last > i ? QStringLiteral("%1 to %2").arg(locations[i]).arg(locations[last])
                          : QString::number(locations[i]));
        i = last + 1;
    }
    return (locations.size() == 1 ? QStringLiteral("location ") : QStringLiteral("locations ")) +
           runs.join(QStringLiteral(", "));
}

QString locationCount(qsizetype count) {
    return count == 1 ? QStringLiteral("1 location") : QStringLiteral("%1 locations").arg(count);
}
