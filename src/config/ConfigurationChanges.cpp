#include "config/ConfigurationChanges.h"

#include "config/ProgrammingPlan.h"
#include "core/Bytes.h"

#include <QHash>

namespace {

QString shown(const QByteArray& value, const char* unit = "") {
    if (value.isEmpty()) return QStringLiteral("(none)");
    return fromBytes(value) + (*unit ? QLatin1Char(' ') + QLatin1String(unit) : QString());
}

QString change(const QString& what, const QString& before, const QString& after) {
    return QStringLiteral("%1: %2 → %3").arg(what, before, after);
}

// The lengths the decoder reads its fields from.
int decodedLength(int entry) {
    static const int lengths[] = {15, 8, 8, 3};
    return lengths[entry - FixedEntries::FirstParameter];
}

void parameterChanges(QStringList& lines, int entry, const QByteArray& before, const QByteArray& after,
                      const QStringList& fieldNames) {
    // Strings of another shape have no fields to compare: they are shown whole.
    if (before.size() != decodedLength(entry) || after.size() != decodedLength(entry)) {
        lines << change(fromBytes(FixedEntries::name(entry)), shown(before), shown(after));
        return;
    }
    const QList<ParameterField>& fields = parameterFields();
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const ParameterField& field = fields[i];
        if (field.entry != entry) continue;
        const QByteArray was = before.mid(field.position - 1, field.width);
        const QByteArray is = after.mid(field.position - 1, field.width);
        if (was != is) lines << change(fieldNames.value(i), shown(was, field.unit), shown(is, field.unit));
    }
}

// Rows pair by name, the first of a name with the first, the second with the second.
void rowChanges(QStringList& lines, const QByteArrayList& before, const QByteArrayList& after) {
    QHash<QByteArray, QList<qsizetype>> unmatched;
    for (qsizetype i = 0; i < before.size(); ++i)
        unmatched[rowName(before[i])] << i;
    QList<bool> matched(before.size(), false);
    QStringList added;
    for (const QByteArray& row : after) {
        QList<qsizetype>& candidates = unmatched[rowName(row)];
        if (candidates.isEmpty()) {
            added << QStringLiteral("row added: %1").arg(fromBytes(row));
            continue;
        }
        const qsizetype was = candidates.takeFirst();
        matched[was] = true;
        if (rowNumber(before[was]) != rowNumber(row))
            lines << change(QStringLiteral("row %1").arg(fromBytes(rowName(row))),
                            shown(rowNumber(before[was])), shown(rowNumber(row)));
    }
    for (qsizetype i = 0; i < before.size(); ++i)
        if (!matched[i]) lines << QStringLiteral("row removed: %1").arg(fromBytes(before[i]));
    lines << added;
}

} // namespace

const QList<ParameterField>& parameterFields() {
    static const QList<ParameterField> fields = [] {
        QList<ParameterField> list;
        for (int position = 1; position <= 15; position += 2)
            list << ParameterField{24, position, 1, ""};
        for (int entry : {25, 26})
            list << ParameterField{entry, 1, 1, ""} << ParameterField{entry, 3, 1, ""}
                 << ParameterField{entry, 5, 2, "s"} << ParameterField{entry, 8, 1, ""};
        list << ParameterField{27, 1, 1, ""} << ParameterField{27, 3, 1, ""};
        return list;
    }();
    return fields;
}

ConfigurationChanges configurationChanges(const QMap<int, SimLocation>& held, const Configuration& wanted,
                                          const QStringList& fieldNames) {
    const Configuration unit = configurationOf(held, wanted.simCapacity);
    ConfigurationChanges changes;
    for (int entry = 1; entry <= FixedEntries::Count; ++entry) {
        const QByteArray& before = unit.entry(entry);
        const QByteArray& after = wanted.entry(entry);
        if (before == after) continue;
        if (entry >= FixedEntries::FirstParameter)
            parameterChanges(changes.lines, entry, before, after, fieldNames);
        else
            changes.lines << change(fromBytes(FixedEntries::name(entry)), shown(before), shown(after));
    }
    rowChanges(changes.lines, unit.rows, wanted.rows);
    changes.locationsRewritten = planChanges(programmingPlan(wanted), held, wanted.simCapacity).size();
    changes.lost = entriesLeftOut(held);
    for (const QString& entry : entriesBeyondCapacity(wanted))
        changes.lost << QStringLiteral("%1: no location is left for it").arg(entry);
    return changes;
}
