#include "sim/SimPhonebook.h"

#include "sim/SimText.h"

namespace {

const QByteArray Ok = "OK";
const QByteArray Error = "ERROR";
const QByteArray InvalidIndex = "+CME ERROR: 21";
const QByteArray MemoryFull = "+CME ERROR: 20";
const QByteArray TextTooLong = "+CME ERROR: 24";
const QByteArray NumberTooLong = "+CME ERROR: 26";

// The text before position at, or all of it when at is -1 (nothing found).
QByteArray before(const QByteArray& text, qsizetype at) {
    return at < 0 ? text : text.left(at);
}

bool toIndex(const QByteArray& text, int& index) {
    bool ok = false;
    index = text.trimmed().toInt(&ok, 10);
    return ok;
}

// Splits "number[,type[,name]]" into number and name. A quoted number ends at its closing quote. A bare
// number runs to the ",," that stands for the empty type, so that texts with blanks, "#" and single
// commas pass whole; without ",," it ends at the first comma.
bool splitFields(const QByteArray& fields, QByteArray& number, QByteArray& name) {
    QByteArray rest;
    if (fields.startsWith('"')) {
        const qsizetype close = fields.indexOf('"', 1);
        if (close < 0) return false;
        number = fields.mid(1, close - 1);
        rest = fields.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(',')) return false;
        rest = rest.mid(1);
    } else if (const qsizetype empty = fields.indexOf(",,"); empty >= 0) {
        number = fields.left(empty);
        name = unquoted(fields.mid(empty + 2));
        return true;
    } else {
        const qsizetype comma = fields.indexOf(',');
        number = before(fields, comma);
        if (comma < 0) return true;
        rest = fields.mid(comma + 1);
    }
    // rest is "type[,name]"; the type follows from the number.
    const qsizetype comma = rest.indexOf(',');
    name = comma < 0 ? QByteArray() : unquoted(rest.mid(comma + 1));
    return true;
}

} // namespace

SimPhonebook::SimPhonebook(int capacity, int numberLength, int textLength)
    : m_capacity(capacity), m_numberLength(numberLength), m_textLength(textLength) {}

void SimPhonebook::load(const QMap<int, SimEntry>& entries) {
    m_entries.clear();
    for (auto entry = entries.begin(); entry != entries.end(); ++entry)
        if (inRange(entry.key())) m_entries.insert(entry.key(), entry.value());
}

QList<QByteArray> SimPhonebook::size() const {
    return {"+CPBR: (1-" + QByteArray::number(m_capacity) + ")," + QByteArray::number(m_numberLength) + "," +
                QByteArray::number(m_textLength),
            Ok};
}

QList<QByteArray> SimPhonebook::writeRange() const {
    return {"+CPBW: (1-" + QByteArray::number(m_capacity) + ")," + QByteArray::number(m_numberLength) +
                ",(129,145)," + QByteArray::number(m_textLength),
            Ok};
}

QList<QByteArray> SimPhonebook::storage() const {
    return {"+CPBS: \"SM\"," + QByteArray::number(m_entries.size()) + "," + QByteArray::number(m_capacity),
            Ok};
}

QList<QByteArray> SimPhonebook::storages() const {
    return {"+CPBS: (\"SM\")", Ok};
}

QList<QByteArray> SimPhonebook::selectStorage(const QByteArray& args) const {
    return {unquoted(args).toUpper() == "SM" ? Ok : Error};
}

QList<QByteArray> SimPhonebook::read(const QByteArray& args) const {
    const qsizetype comma = args.indexOf(',');
    int first = 0;
    int last = 0;
    if (!toIndex(before(args, comma), first) || !toIndex(comma < 0 ? args : args.mid(comma + 1), last))
        return {Error};
    if (!inRange(first) || !inRange(last) || first > last) return {InvalidIndex};
    QList<QByteArray> lines;
    for (auto entry = m_entries.lowerBound(first); entry != m_entries.end() && entry.key() <= last; ++entry) {
        const QByteArray type = entry->number.startsWith('+') ? "145" : "129";
        lines.append("+CPBR: " + QByteArray::number(entry.key()) + ",\"" + entry->number + "\"," + type +
                     ",\"" + entry->name + "\"");
    }
    lines.append(Ok);
    return lines;
}

QList<QByteArray> SimPhonebook::write(const QByteArray& args, bool store) {
    const qsizetype comma = args.indexOf(',');
    const QByteArray indexText = before(args, comma).trimmed();
    int index = 0;
    if (!indexText.isEmpty() && !toIndex(indexText, index)) return {Error};
    if (comma < 0) {
        if (indexText.isEmpty()) return {Error};
        if (!inRange(index)) return {InvalidIndex};
        if (store) m_entries.remove(index);
        return {Ok};
    }
    SimEntry entry;
    if (!splitFields(args.mid(comma + 1), entry.number, entry.name)) return {Error};
    if (entry.number.size() > m_numberLength) return {NumberTooLong};
    if (entry.name.size() > m_textLength) return {TextTooLong};
    if (indexText.isEmpty()) {
        index = firstFree();
        if (index == 0) return {MemoryFull};
    } else if (!inRange(index)) {
        return {InvalidIndex};
    }
    if (store) m_entries.insert(index, entry);
    return {Ok};
}

int SimPhonebook::firstFree() const {
    for (int index = 1; index <= m_capacity; ++index)
        if (!m_entries.contains(index)) return index;
    return 0;
}
