#include "config/PlanCheck.h"

#include "config/PhonebookEntry.h"
#include "config/ProgrammingPlan.h"
#include "core/Bytes.h"
#include "engine/Answers.h"

#include <QRegularExpression>

namespace {

QString problem(const PlannedEntry& entry, const QString& what) {
    return QStringLiteral("%1: %2").arg(entry.label, what);
}

void checkField(QStringList& problems, const PlannedEntry& entry, const char* field, const QByteArray& text,
                int length, bool quoted) {
    if (length > 0 && text.size() > length)
        problems << problem(entry, QStringLiteral("its %1 has %2 characters, the SIM keeps %3")
                                       .arg(QLatin1String(field))
                                       .arg(text.size())
                                       .arg(length));
    // A quoted name carries commas; nothing carries a double quote or a line break.
    const QByteArray carried = quoted ? QByteArray(text).replace(',', ' ') : text;
    const QString character = breakingCharacter(carried);
    if (!character.isEmpty())
        problems << problem(entry, QStringLiteral("its %1 holds %2, which the unit would take for the end "
                                                  "of the field")
                                       .arg(QLatin1String(field), character));
    if (const QByteArray word = misreadingWord(text); !word.isEmpty())
        problems << problem(entry, QStringLiteral("its %1 holds \"%2\", which would be taken for the "
                                                  "unit's answer when it is read back")
                                       .arg(QLatin1String(field), fromBytes(word)));
}

} // namespace

SimLimits simLimits(const QByteArray& sizeAnswer) {
    static const QRegularExpression form(
        QStringLiteral(R"(\+CPBR: \(1-(\d+)\)(?:\s*,\s*(\d+))?(?:\s*,\s*(\d+))?)"));
    const QRegularExpressionMatch match = form.match(QString::fromLatin1(sizeAnswer));
    if (!match.hasMatch()) return {};
    return {match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt()};
}

bool needsQuotedWrite(const QByteArray& name) {
    return name.contains(',');
}

QStringList fieldProblems(const Configuration& configuration, const SimLimits& limits) {
    QStringList problems;
    for (const PlannedEntry& entry : writtenEntries(configuration)) {
        checkField(problems, entry, "number", entry.number, limits.numberLength, false);
        checkField(problems, entry, "name", entry.name, limits.textLength, needsQuotedWrite(entry.name));
    }
    return problems;
}

QStringList planProblems(const Configuration& configuration, const SimLimits& limits) {
    QStringList problems = fieldProblems(configuration, limits);
    for (const QString& entry : entriesBeyondCapacity(configuration))
        problems << QStringLiteral("%1: the SIM has no location left for it (%2)")
                        .arg(entry, locationCount(configuration.simCapacity));
    return problems;
}
