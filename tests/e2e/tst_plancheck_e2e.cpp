#include "ProgrammingFixture.h"

#include "files/PhoneBookList.h"

#include <QtTest>

Q_DECLARE_METATYPE(SimOptions)

// Before anything is written, the whole plan is checked against what the SIM said of itself and what the
// line and the receiver can carry; a refused plan names every problem and sends nothing.
class PlanCheckTest : public QObject {
    Q_OBJECT
private slots:
    void aRefusedPlanSendsNothing_data();
    void aRefusedPlanSendsNothing();
    void aNameWithACommaGoesOutQuoted();
};

namespace {

const QMap<int, SimEntry> UnitPhonebook{{1, {"+420603111222", "ADMIN1"}}, {2, {"555", "Anna"}}};

using Fixture = ProgrammingFixture;

SimOptions limits(int capacity, int numberLength, int textLength) {
    SimOptions options;
    options.phonebook = UnitPhonebook;
    options.capacity = capacity;
    options.numberLength = numberLength;
    options.textLength = textLength;
    return options;
}

} // namespace

void PlanCheckTest::aRefusedPlanSendsNothing_data() {
    QTest::addColumn<SimOptions>("sim");
    QTest::addColumn<QByteArrayList>("rows");
    QTest::addColumn<QString>("alarm");
    QTest::addColumn<QStringList>("problems");
    QTest::newRow("a name longer than the SIM's text field")
        << limits(40, 40, 20) << QByteArrayList{"Anna=555", "Bartholomew Longname-Smith=777"} << QString()
        << QStringList{
               "Bartholomew Longname-Smith (phone-book row 2): its name has 26 characters, the SIM keeps 20"};
    QTest::newRow("a text longer than the SIM's number field")
        << limits(40, 20, 40) << QByteArrayList{"Anna=555"} << "The door was forced open!"
        << QStringList{"ALARMON: its number has 25 characters, the SIM keeps 20"};
    QTest::newRow("a name the unit's answer would be taken for")
        << limits(40, 40, 40) << QByteArrayList{"Anna=555", "+CSQ: 5=12"} << QString()
        << QStringList{"+CSQ: 5 (phone-book row 2): its name holds \"+CSQ:\", which would be taken for the "
                       "unit's answer when it is read back"};
    QByteArrayList many;
    for (int i = 0; i < 40; ++i)
        many << "Row" + QByteArray::number(i) + "=5";
    QTest::newRow("more entries than the SIM has locations")
        << limits(40, 40, 40) << many << QString()
        << QStringList{"Row35 (phone-book row 36): the SIM has no location left for it (40 locations)",
                       "Row36 (phone-book row 37): the SIM has no location left for it (40 locations)",
                       "Row37 (phone-book row 38): the SIM has no location left for it (40 locations)",
                       "Row38 (phone-book row 39): the SIM has no location left for it (40 locations)",
                       "Row39 (phone-book row 40): the SIM has no location left for it (40 locations)"};
}

void PlanCheckTest::aRefusedPlanSendsNothing() {
    QFETCH(SimOptions, sim);
    QFETCH(QByteArrayList, rows);
    QFETCH(QString, alarm);
    QFETCH(QStringList, problems);
    Fixture f(sim, true);
    f.form->PhoneBook1->clearLines();
    for (const QByteArray& row : rows)
        f.form->PhoneBook1->appendLine(row);
    f.form->ALARMON->setText(alarm);
    const QStringList monitor = f.monitorLines();
    f.programAnswering(true);
    QCOMPARE(f.dialogs.confirmations.size(), 1);
    QVERIFY(f.dialogs.confirmations.first().refused);
    QCOMPARE(f.dialogs.confirmations.first().details, problems);
    QCOMPARE(f.monitorLines(), monitor);
    QCOMPARE(f.unit.phonebook(), UnitPhonebook);
    QVERIFY(f.backups().isEmpty());
    // The sequence itself refuses too, whoever starts it.
    f.form->run([&f] { f.form->SaveORUClick(); });
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY2(f.dialogs.errors.first().contains(problems.first()), qPrintable(f.dialogs.errors.first()));
    QCOMPARE(f.monitorLines(), monitor);
}

// A name another tool wrote with a comma is programmed back whole, in the quoted form.
void PlanCheckTest::aNameWithACommaGoesOutQuoted() {
    QMap<int, SimEntry> unit = UnitPhonebook;
    unit.insert(3, {"555", "Doe, John"});
    ProgrammingFixture f(unit, true);
    f.form->ADMIN[0]->setText(QStringLiteral("+420999"));
    f.programAnswering(true);
    // After ADMIN1, the four settings strings and Anna.
    QCOMPARE(f.unit.phonebook().value(7), (SimEntry{"555", "Doe, John"}));
    QCOMPARE(f.form->PhoneBook1->line(1), QByteArray("Doe, John=555"));
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
}

QTEST_MAIN(PlanCheckTest)
#include "tst_plancheck_e2e.moc"
