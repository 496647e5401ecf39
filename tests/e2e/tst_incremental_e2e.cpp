#include "ProgrammingFixture.h"

#include "config/ProgrammingPlan.h"
#include "engine/ReadBackRecord.h"
#include "files/PhoneBookList.h"
#include "widgets/StatusPanels.h"

#include <QtTest>

// Programming a unit read on this connection writes only the locations that differ from what it holds,
// then reads every location back; the SIM ends as the full sequence would leave it. Lines the unit says
// out of turn never end a programming, and one that ends early says what the unit holds and where the
// backup is.
class IncrementalTest : public QObject {
    Q_OBJECT
private slots:
    void writesOnlyWhatDiffers_data();
    void writesOnlyWhatDiffers();
    void theFullSequenceIsOneChoiceAway();
    void aLateAnswerIsNoise_data();
    void aLateAnswerIsNoise();
    void anEarlyEndSaysWhatTheUnitHolds();
};

namespace {

// Ten flats, Flat1=603111001 … Flat10=6031110010, with one row replaced by another where asked.
QByteArrayList flats(int replaced = 0, const QByteArray& row = {}) {
    QByteArrayList rows;
    for (int i = 1; i <= 10; ++i)
        rows << (i == replaced ? row : "Flat" + QByteArray::number(i) + "=60311100" + QByteArray::number(i));
    return rows;
}

void showRows(TForm1& form, const QByteArrayList& rows) {
    form.PhoneBook1->clearLines();
    for (const QByteArray& row : rows)
        form.PhoneBook1->appendLine(row);
}

// A unit at a real unit's pace with a SIM of 60 locations.
SimOptions pacedUnit() {
    SimOptions options = SimOptions::realistic();
    options.capacity = 60;
    options.busyPhonebookCommands = 0;
    return options;
}

// A window that has programmed ten rows into its unit, in the full sequence, and read it back.
struct Fixture : ProgrammingFixture {
    Fixture() : ProgrammingFixture(pacedUnit(), true) {
        form->ADMIN[0]->setText(QStringLiteral("+420603111222"));
        showRows(*form, flats());
        dialogs.optionAnswer = true;
        programAnswering(true);
        dialogs.optionAnswer.reset();
        QObject::connect(&unit, &SimulatedUnit::executed, [this](const QByteArray& line) {
            if (line.startsWith("AT+CPBW=")) writes << line;
        });
    }
    // What the full sequence leaves on the SIM for what was last programmed.
    QMap<int, SimEntry> fullSequenceResult() const {
        QMap<int, SimEntry> entries;
        const QMap<int, SimLocation> planned = plannedLocations(programmingPlan(form->engine.writing));
        for (auto it = planned.begin(); it != planned.end(); ++it)
            entries.insert(it.key(), {it->number, it->name});
        return entries;
    }
    QByteArrayList writes;
};

} // namespace

// With ADMIN1 and the four settings strings at locations 1 to 5, the rows start at location 6.
void IncrementalTest::writesOnlyWhatDiffers_data() {
    QTest::addColumn<QByteArrayList>("rows");
    QTest::addColumn<QByteArrayList>("writes");
    QTest::newRow("one number changed") << flats(5, "Flat5=777") << QByteArrayList{"AT+CPBW=10,777,,Flat5"};
    QByteArrayList inserted = flats();
    inserted.insert(8, "Porter=555");
    QTest::newRow("a row inserted in the middle")
        << inserted
        << QByteArrayList{"AT+CPBW=14,555,,Porter", "AT+CPBW=15,603111009,,Flat9",
                          "AT+CPBW=16,6031110010,,Flat10"};
    QTest::newRow("the tail cleared")
        << flats().mid(0, 7) << QByteArrayList{"AT+CPBW=13", "AT+CPBW=14", "AT+CPBW=15"};
    QTest::newRow("nothing changed") << flats() << QByteArrayList{};
}

void IncrementalTest::writesOnlyWhatDiffers() {
    QFETCH(QByteArrayList, rows);
    QFETCH(QByteArrayList, writes);
    Fixture f;
    showRows(*f.form, rows);
    f.programAnswering(true);
    QCOMPARE(f.writes, writes);
    QCOMPARE(f.unit.phonebook(), f.fullSequenceResult());
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
    QCOMPARE(f.form->StatusBar1->currentMessage(),
             QStringLiteral("Programmed %1 changed of 60 locations; the read-back found them as written")
                 .arg(writes.size()));
    QVERIFY(f.form->SaveORU->isEnabled());
    QVERIFY(f.form->readBack->current());
}

// Ticked in the question, every location is written again. A unit that has run since it was read may
// have changed its SIM meanwhile: what it holds is known again only from the read that its stop brings.
void IncrementalTest::theFullSequenceIsOneChoiceAway() {
    Fixture f;
    showRows(*f.form, flats(1, "Flat1=111"));
    f.dialogs.optionAnswer = true;
    f.programAnswering(true);
    QCOMPARE(f.writes.size(), 60);
    QCOMPARE(f.unit.phonebook(), f.fullSequenceResult());

    f.click([&f] { f.form->RunORUClick(); });
    QVERIFY(!f.form->readBack->current());
    f.click([&f] { f.form->StopORUClick(); });
    QVERIFY(f.form->readBack->current());
    QByteArrayList rows = flats(1, "Flat1=111");
    rows[1] = "Flat2=222";
    showRows(*f.form, rows);
    f.writes.clear();
    f.dialogs.optionAnswer.reset();
    f.programAnswering(true);
    QCOMPARE(f.writes, QByteArrayList{"AT+CPBW=7,222,,Flat2"});
    QCOMPARE(f.unit.phonebook(), f.fullSequenceResult());
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
}

void IncrementalTest::aLateAnswerIsNoise_data() {
    // What the unit says late: an answer to an earlier query with its own final result, or a line of its own.
    QTest::addColumn<QByteArray>("said");
    // The command it says it after, before that command's own answer.
    QTest::addColumn<QByteArray>("after");
    const QList<QByteArrayList> lines = {{"#SPN: NET", "OK"},
                                         {"Telit", "OK"},
                                         {"+CPBR: (1-40),40,18", "OK"},
                                         {"+CPBR: 3,\"555\",129,\"Ghost\"", "OK"},
                                         {"[AT#SLED=1]="},
                                         {"STOP"}};
    for (const QByteArrayList& said : lines) {
        QTest::addRow("%s while location 2 is written", said.first().constData())
            << said.join("\r\n") << QByteArray("AT+CPBW=2,");
        // Before a listing, an entry is one of the listing's own; the lines a stopping unit says begin a
        // read-back of their own.
        if (said.size() == 2 && !said.first().startsWith("+CPBR: 3"))
            QTest::addRow("%s before the read-back lists", said.first().constData())
                << said.join("\r\n") << QByteArray("AT+CPBR=1,");
    }
}

// A late answer to an earlier query, or a line of the unit's own, said while programming writes or reads
// back, is shown in the monitor and changes nothing: its final result is its own, every location is written
// once, and the read-back lists them all.
void IncrementalTest::aLateAnswerIsNoise() {
    QFETCH(QByteArray, said);
    QFETCH(QByteArray, after);
    Fixture f;
    bool injected = false;
    QObject::connect(&f.unit, &SimulatedUnit::executed, [&](const QByteArray& command) {
        if (command.startsWith(after) && !std::exchange(injected, true)) f.unit.injectGarbage(said + "\r\n");
    });
    f.dialogs.optionAnswer = true;
    showRows(*f.form, flats(1, "Flat1=111"));
    f.programAnswering(true);
    QCOMPARE(f.writes.size(), 60);
    QCOMPARE(f.unit.phonebook(), f.fullSequenceResult());
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
    QVERIFY(injected);
    QVERIFY(f.monitorLines().join('\n').contains(QString::fromLatin1(said.split('\r').first())));
    QVERIFY(f.form->dialogue.is(Dialogue::Phase::Idle));
    QVERIFY(f.form->SaveORU->isEnabled() && f.form->Load->isEnabled());
    QCOMPARE(f.form->PhoneBook1->line(0), QByteArray("Flat1=111"));
}

// The unit refuses the second of three writes: the report names the locations that hold the new
// content, the one not written, those that keep the old, and the backup to program back.
void IncrementalTest::anEarlyEndSaysWhatTheUnitHolds() {
    Fixture f;
    QByteArrayList rows = flats(1, "Flat1=111");
    rows[4] = "Flat5=555";
    rows[9] = "Flat10=1010";
    showRows(*f.form, rows);
    f.unit.failNext("AT+CPBW=10,", "+CME ERROR: 24");
    f.programAnswering(true);
    QCOMPARE(f.dialogs.errors.size(), 1);
    const QString report = f.dialogs.errors.first();
    QCOMPARE(f.backups().size(), 2);
    for (const QString& said :
         {QStringLiteral("Written with the new content: location 6."),
          QStringLiteral("Location 10 was not written."),
          QStringLiteral("Still holding the old content: location 15."), f.backups().last()})
        QVERIFY2(report.contains(said), qPrintable(report));
    QCOMPARE(f.unit.phonebook().value(6), (SimEntry{"111", "Flat1"}));
    QCOMPARE(f.unit.phonebook().value(15), (SimEntry{"6031110010", "Flat10"}));
    QVERIFY(f.form->SaveORU->isEnabled() && f.form->Load->isEnabled());
}

QTEST_MAIN(IncrementalTest)
#include "tst_incremental_e2e.moc"
