#include "config/ProgrammingPlan.h"

#include "app/TForm1.h"
#include "config/FixedEntries.h"
#include "core/Bytes.h"
#include "files/PhoneBookList.h"

std::optional<PlannedEntry> plannedEntryAt(TForm1& form, int step) {
    if (step <= FixedEntries::Count) {
        const QByteArray name = FixedEntries::name(step);
        const QLineEdit* edit = FixedEntries::edit(form, step);
        const QByteArray number = edit ? toBytes(edit->text()) : *FixedEntries::parameter(form.state, step);
        return PlannedEntry{name, number, fromBytes(name)};
    }
    // The grid counts its title row, and an empty grid still shows one empty row: that row is written
    // as an empty entry.
    const int row = step - FixedEntries::Count;
    if (form.PhoneBook1->gridRowCount() <= row) return std::nullopt;
    if (row > form.PhoneBook1->lineCount()) return PlannedEntry{};
    const QByteArray name = form.PhoneBook1->name(row - 1);
    return PlannedEntry{name, form.PhoneBook1->number(row - 1),
                        QStringLiteral("%1 (phone-book row %2)").arg(fromBytes(name)).arg(row)};
}

QMap<int, PlannedEntry> programmingPlan(TForm1& form) {
    QMap<int, PlannedEntry> plan;
    int location = 1;
    for (int step = 1; location <= form.state.simCapacity; ++step) {
        const std::optional<PlannedEntry> entry = plannedEntryAt(form, step);
        if (!entry) break;
        if (entry->name.isEmpty() || entry->number.isEmpty()) continue;
        plan.insert(location++, *entry);
    }
    return plan;
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

QString locationCount(qsizetype count) {
    return count == 1 ? QStringLiteral("1 location") : QStringLiteral("%1 locations").arg(count);
}
