#include "config/FixedEntries.h"

#include "app/TForm1.h"

#include <QHash>

namespace {

constexpr int EditCount = 23;

QList<QByteArray> makeNames() {
    QList<QByteArray> names;
    for (const char* group : {"ADMIN", "ABUTTON", "BBUTTON"})
        for (int n = 1; n <= 7; ++n)
            names << group + QByteArray::number(n);
    names << "ALARMON"
          << "ALARMOFF"
          << "PARORU"
          << "PARRL1"
          << "PARRL2"
          << "PARKEY";
    return names;
}

const QList<QByteArray>& names() {
    static const QList<QByteArray> list = makeNames();
    return list;
}

} // namespace

namespace FixedEntries {

QByteArray name(int number) {
    return names().at(number - 1);
}

int numberOf(const QByteArray& name) {
    static const QHash<QByteArray, int> numbers = [] {
        QHash<QByteArray, int> map;
        for (int i = 0; i < Count; ++i)
            map.insert(names().at(i), i + 1);
        return map;
    }();
    return numbers.value(name, 0);
}

QLineEdit* edit(const TForm1& form, int number) {
    if (number <= 7) return form.ADMIN.at(number - 1);
    if (number <= 14) return form.ABUTTON.at(number - 8);
    if (number <= 21) return form.BBUTTON.at(number - 15);
    if (number == 22) return form.ALARMON;
    if (number == EditCount) return form.ALARMOFF;
    return nullptr;
}

QByteArray* parameter(SharedState& state, int number) {
    switch (number - EditCount) {
    case 1:
        return &state.parOru;
    case 2:
        return &state.parRl1;
    case 3:
        return &state.parRl2;
    case 4:
        return &state.parKey;
    default:
        return nullptr;
    }
}

} // namespace FixedEntries
