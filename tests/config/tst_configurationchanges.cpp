#include "config/ConfigurationChanges.h"
#include "config/ProgrammingPlan.h"

#include <QtTest>

// What programming a configuration would do to a unit, said by meaning rather than by location.
class ConfigurationChangesTest : public QObject {
    Q_OBJECT
private slots:
    void saysWhatChangesByMeaning_data();
    void saysWhatChangesByMeaning();
};

namespace {

using Held = QMap<int, SimLocation>;

// A unit whose locations hold exactly what programming configuration would write.
Held heldAs(const Configuration& configuration) {
    return plannedLocations(programmingPlan(configuration));
}

QStringList fieldNames() {
    QStringList names;
    for (const ParameterField& field : parameterFields())
        names << QStringLiteral("%1 at %2").arg(field.entry).arg(field.position);
    return names;
}

} // namespace

Q_DECLARE_METATYPE(Held)
Q_DECLARE_METATYPE(Configuration)

void ConfigurationChangesTest::saysWhatChangesByMeaning_data() {
    QTest::addColumn<Held>("held");
    QTest::addColumn<Configuration>("wanted");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<qsizetype>("rewritten");
    QTest::addColumn<QStringList>("lost");

    Configuration unit;
    unit.simCapacity = 10;
    unit.entry(1) = "+420111";
    unit.entry(25) = "5#1#05#0";
    unit.rows = {"Anna=1", "Bob=2", "Cyril=3"};
    QTest::newRow("nothing") << heldAs(unit) << unit << QStringList{} << qsizetype(0) << QStringList{};

    Configuration inserted = unit;
    inserted.rows.insert(1, "Zed=9");
    QTest::newRow("a row added in the middle: one row, three locations")
        << heldAs(unit) << inserted << QStringList{"row added: Zed=9"} << qsizetype(3) << QStringList{};

    Configuration edited = unit;
    edited.entry(10) = "+420602555666";
    edited.entry(25) = "5#1#17#0";
    edited.rows = {"Cyril=4", "Anna=1"};
    QTest::newRow("an entry by name, a field by its control, rows changed and removed")
        << heldAs(unit) << edited
        << QStringList{"ABUTTON3: (none) → +420602555666", "25 at 5: 05 s → 17 s", "row Cyril: 3 → 4",
                       "row removed: Bob=2"}
        << qsizetype(4) << QStringList{};

    Configuration odd = unit;
    odd.entry(25) = "5#1#05#0#1";
    QTest::newRow("a string of another shape, whole")
        << heldAs(unit) << odd << QStringList{"PARRL1: 5#1#05#0 → 5#1#05#0#1"} << qsizetype(1)
        << QStringList{};

    Held withVersion = heldAs(unit);
    withVersion.insert(6, {"2.0#1", "VER"});
    withVersion.insert(7, {"+420999", "ADMIN1"});
    Configuration more = unit;
    more.simCapacity = 6;
    more.rows << "Dan=4"
              << "Eve=5";
    QTest::newRow("the version, a repeated entry and rows beyond the SIM are lost")
        << withVersion << more
        << QStringList{"ADMIN1: +420999 → +420111", "row added: Dan=4", "row added: Eve=5"} << qsizetype(1)
        << QStringList{"location 1: ADMIN1=+420111", "location 6: VER=2.0#1",
                       "Eve (phone-book row 5): no location is left for it"};
}

void ConfigurationChangesTest::saysWhatChangesByMeaning() {
    QFETCH(Held, held);
    QFETCH(Configuration, wanted);
    QFETCH(QStringList, lines);
    QFETCH(qsizetype, rewritten);
    QFETCH(QStringList, lost);
    const ConfigurationChanges changes = configurationChanges(held, wanted, fieldNames());
    QCOMPARE(changes.lines, lines);
    QCOMPARE(changes.locationsRewritten, rewritten);
    QCOMPARE(changes.lost, lost);
}

QTEST_MAIN(ConfigurationChangesTest)
#include "tst_configurationchanges.moc"
