#include "config/Configuration.h"

#include "config/Filters.h"
#include "core/Bytes.h"

#include <QStringList>
#include <algorithm>
#include <utility>

namespace {

const QByteArray Version = "VER";
// ADMIN1 … ADMIN7, ABUTTON1 … ABUTTON7 and BBUTTON1 … BBUTTON7 hold phone numbers.
constexpr int PhoneNumbers = 21;

} // namespace

QByteArray rowName(const QByteArray& row) {
    const qsizetype equals = row.indexOf('=');
    return equals < 0 ? QByteArray() : row.left(equals);
}

QByteArray rowNumber(const QByteArray& row) {
    const qsizetype equals = row.indexOf('=');
    return equals < 0 ? row : row.mid(equals + 1);
}

Configuration configurationOf(const QMap<int, SimLocation>& held, int capacity) {
    Configuration configuration;
    configuration.simCapacity = capacity;
    for (const SimLocation& location : held) {
        if (const int fixed = FixedEntries::numberOf(location.name))
            configuration.entry(fixed) = location.number;
        else if (location.name != Version)
            configuration.rows << location.name + '=' + location.number;
    }
    return configuration;
}

QStringList entriesLeftOut(const QMap<int, SimLocation>& held) {
    QStringList left;
    for (auto it = held.begin(); it != held.end(); ++it) {
        const SimLocation& location = *it;
        bool shadowed = false;
        if (FixedEntries::numberOf(location.name))
            for (auto later = std::next(it); later != held.end() && !shadowed; ++later)
                shadowed = later->name == location.name;
        if (shadowed || location.name == Version)
            left << QStringLiteral("location %1: %2=%3")
                        .arg(it.key())
                        .arg(fromBytes(location.name), fromBytes(location.number));
    }
    return left;
}

Configuration asShown(Configuration configuration) {
    for (int number = 1; number <= PhoneNumbers; ++number)
        configuration.entry(number) = FilterPhone(configuration.entry(number));
    return configuration;
}

Configuration restoring(const QMap<int, SimLocation>& held, int capacity) {
    Configuration configuration;
    configuration.simCapacity = capacity;
    std::array<bool, FixedEntries::Count> taken{};
    for (const SimLocation& location : held) {
        const int fixed = FixedEntries::numberOf(location.name);
        if (fixed && !std::exchange(taken[fixed - 1], true))
            configuration.entry(fixed) = location.number;
        else
            configuration.rows << location.name + '=' + location.number;
    }
    return configuration;
}

bool keptIn(const Configuration& shown, const QList<Configuration>& copies) {
    const auto kept = [&](auto part) {
        return std::any_of(copies.begin(), copies.end(),
                           [&](const Configuration& copy) { return part(copy) == part(shown); });
    };
    for (int number = 1; number <= FixedEntries::Count; ++number)
        if (!kept([number](const Configuration& c) { return c.entry(number); })) return false;
    return kept([](const Configuration& c) { return c.rows; });
}
