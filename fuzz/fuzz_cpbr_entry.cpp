#include "FuzzSupport.h"

#include "config/PhonebookEntry.h"

#include <algorithm>
#include <limits>

// The "+CPBR:" entry parser and the checks on what it gives. The input is taken twice:
// - as a line from the unit: the fields are cut from it, the index trimmed and without a comma, the number
//   without a quote; the index names a location only when it is the decimal number of one;
// - as an index, a number and a name, apart at NUL bytes, written into a line the way the unit lists an
//   entry: parsing that line gives back exactly those fields, commas and quotes in the name included.

namespace {

void checkLocation(const QByteArray& index, int capacity) {
    const int location = locationOf(index, capacity);
    const bool digits = !index.isEmpty() &&
                        std::all_of(index.begin(), index.end(), [](char c) { return c >= '0' && c <= '9'; });
    bool fits = false;
    const qlonglong value = digits ? index.toLongLong(&fits) : 0;
    const bool expected = digits && fits && value >= 1 && value <= std::numeric_limits<int>::max() &&
                          (capacity == 0 || value <= capacity);
    FUZZ_CHECK(expected ? location == value : location == 0,
               QStringLiteral("index \"%1\" on a SIM of %2 gave location %3")
                   .arg(printable(index))
                   .arg(capacity)
                   .arg(location));
    if (location == 0) FUZZ_CHECK(!notALocation(index, capacity).isEmpty(), printable(index));
}

void checkBreaking(const QByteArray& text) {
    const bool breaks = std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == ',' || c == ';' || c == '"' || byte < 0x20 || byte == 0x7f;
    });
    FUZZ_CHECK(breaks != breakingCharacter(text).isEmpty(), printable(text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = inputBytes(data, size);

    const PhonebookEntry entry = PhonebookEntry::parse(input);
    FUZZ_CHECK(entry.index == entry.index.trimmed() && !entry.index.contains(','),
               QStringLiteral("line \"%1\"").arg(printable(input)));
    FUZZ_CHECK(!entry.number.contains('"') && input.contains(entry.number) && input.contains(entry.name),
               QStringLiteral("line \"%1\"").arg(printable(input)));
    for (const int capacity : {0, 1, 10, 250, 0x7fffffff})
        checkLocation(entry.index, capacity);
    checkBreaking(input);

    const QByteArrayList parts = input.split('\0');
    QByteArray index = asReceived(parts.value(0));
    index.removeIf([](char c) { return c == ',' || c == '"'; });
    QByteArray number = asReceived(parts.value(1));
    number.removeIf([](char c) { return c == '"'; });
    const QByteArray name = asReceived(parts.value(2));
    const QByteArray line = "+CPBR: " + index + ",\"" + number + "\",145,\"" + name + '"';
    const PhonebookEntry listed = PhonebookEntry::parse(line);
    FUZZ_CHECK(
        listed.index == index.trimmed() && listed.number == number && listed.name == name,
        QStringLiteral("line \"%1\" gave index \"%2\", number \"%3\", name \"%4\"")
            .arg(printable(line), printable(listed.index), printable(listed.number), printable(listed.name)));
    return 0;
}
