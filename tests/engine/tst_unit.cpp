#include "RecordingPacer.h"
#include "TestPort.h"
#include "Transcript.h"

#include "config/Configuration.h"
#include "config/PhonebookEntry.h"
#include "config/ProgrammingPlan.h"
#include "core/Failure.h"
#include "engine/Unit.h"
#include "engine/UnitView.h"
#include "sim/SimulatedPort.h"

#include <QSignalSpy>
#include <QtTest>

// The engine on its own, with no window: it reads a stopped unit back into its record, asks a busy SIM
// again, stops and runs either module, programs what differs, says how far programming got when the unit
// goes away, and ends a read-back whose listing cannot be true.
class UnitTest : public QObject {
    Q_OBJECT
private slots:
    void readsAStoppedUnitIntoItsRecord_data();
    void readsAStoppedUnitIntoItsRecord();
    void stopsAndRunsEitherModule_data();
    void stopsAndRunsEitherModule();
    void programsOnlyWhatDiffersAndChecksIt();
    void aUnitGoneMidProgrammingSaysHowFarItGot();
    void aSingleWriteIsReadBack();
    void silenceEndsAPhaseOnlyWhileNothingMoves();
    void aListingThatCannotBeTrueEndsTheReadBack_data();
    void aListingThatCannotBeTrueEndsTheReadBack();
};

namespace {

// What the engine showed, and the early end it asked for.
class RecordingView : public UnitView {
public:
    QByteArray operatorName;
    int capacity = 0;
    QList<PhonebookEntry> listed;
    int stops = 0;
    int namings = 0;
    int readsStarted = 0;
    int readsDone = 0;
    QByteArrayList notes;
    QByteArrayList unitLines;
    QByteArrayList confirmedCommands;
    std::optional<Dialogue::Outcome> endedEarly;
    // What the engine said of an early end of programming.
    QString programmingReport;
    int programmedCount = 0;
    // Runs at each step of programming.
    std::function<void(int)> onStep = [](int) {};
    Unit* unit = nullptr;

    void said(const QByteArray&) override {}
    void handled(const QByteArray&) override {}
    void unitSaid(const QByteArray& line) override { unitLines << line; }
    void confirmed(const QByteArray& command) override { confirmedCommands << command; }
    void prompted() override {}
    void stopped() override { ++stops; }
    void moduleNamed() override { ++namings; }
    void showOperator(const QByteArray& name) override { operatorName = name; }
    void showSimSize(int size) override { capacity = size; }
    void readStarting() override { ++readsStarted; }
    void readingAgain() override {}
    void showListed(const PhonebookEntry& entry) override { listed << entry; }
    void readBackDone() override { ++readsDone; }
    void programmingStepped(int step) override { onStep(step); }
    void programmed() override { ++programmedCount; }
    [[noreturn]] void endEarly(Dialogue::Outcome outcome, const QString& cause) override {
        endedEarly = outcome;
        if (unit->dialogue.is(Dialogue::Phase::Programming))
            programmingReport = unit->programmingStopped(outcome);
        unit->dialogue.end(outcome, cause);
        throw Failure(cause);
    }
    void note(const QByteArray& text) override { notes << text; }
};

// The simulated unit's line, with every send kept.
class WatchedSimPort : public SimulatedPort {
public:
    using SimulatedPort::SimulatedPort;
    QByteArrayList sent;
    void send(const QByteArray& data) override {
        sent << data;
        SimulatedPort::send(data);
    }
};

// An engine on a port, its received bytes handed over as a window's handler does.
struct Engine {
    Engine(SerialPort& port) : unit(port, pacer, view) {
        view.unit = &unit;
        QObject::connect(&port, &SerialPort::triggerAvail, &unit,
                         [this](quint16 count) { guard([&] { unit.line.receive(count); }); });
        QObject::connect(&unit.dialogue, &Dialogue::timedOut, &unit,
                         [this](Dialogue::Phase phase) { guard([&] { unit.silenceLimitReached(phase); }); });
    }
    RecordingPacer pacer;
    RecordingView view;
    Unit unit;
    QStringList failures;

    template <typename Handler> void guard(Handler handler) {
        try {
            handler();
        } catch (const Failure& failure) {
            failures << failure.text();
        }
    }
};

const QMap<int, SimEntry> Phonebook{
    {1, {"+420603111222", "ADMIN1"}}, {7, {"555", "Gate"}}, {40, {"1", "Last"}}};

// A unit of 40 locations holding the phone book, running its script or stopped.
SimOptions unitOptions(bool stopped) {
    SimOptions options;
    options.startStopped = stopped;
    options.capacity = 40;
    options.phonebook = Phonebook;
    return options;
}

} // namespace

void UnitTest::readsAStoppedUnitIntoItsRecord_data() {
    QTest::addColumn<int>("busyCommands");
    QTest::addColumn<QByteArrayList>("commands");
    QTest::newRow("a SIM that answers at once")
        << 0 << QByteArrayList{"AT#SPN\r\n", "AT+CPBR=?\r\n", "AT+CPBR=1,40\r\n"};
    QTest::newRow("a SIM still starting is asked again")
        << 2
        << QByteArrayList{"AT#SPN\r\n", "AT+CPBR=?\r\n", "AT+CPBR=?\r\n", "AT+CPBR=?\r\n",
                          "AT+CPBR=1,40\r\n"};
}

void UnitTest::readsAStoppedUnitIntoItsRecord() {
    QFETCH(int, busyCommands);
    QFETCH(QByteArrayList, commands);
    SimOptions options = unitOptions(true);
    options.busyPhonebookCommands = busyCommands;
    SimulatedUnit sim(options);
    WatchedSimPort port(sim);
    Engine engine(port);
    Unit& unit = engine.unit;
    QSignalSpy ended(&unit.dialogue, &Dialogue::ended);

    unit.line.setDtr(true);
    unit.askOperator("AT#SPN\r\n");
    settle(port);

    QCOMPARE(engine.failures, QStringList());
    QCOMPARE(port.sent, commands);
    QCOMPARE(engine.view.notes.size(), busyCommands);
    // As the module says it after the colon, its blank included.
    QCOMPARE(engine.view.operatorName, " " + sim.options().operatorName);
    QCOMPARE(engine.view.capacity, 40);
    QCOMPARE(unit.sim.capacity, 40);
    QCOMPARE(engine.view.listed.size(), Phonebook.size());
    QCOMPARE(engine.view.readsDone, 1);
    QCOMPARE(ended.size(), 1);
    QCOMPARE(ended.first().at(1).value<Dialogue::Outcome>(), Dialogue::Outcome::Done);
    QVERIFY(unit.record.current());
    QMap<int, SimLocation> held;
    for (auto it = Phonebook.begin(); it != Phonebook.end(); ++it)
        held[it.key()] = {it->number, it->name};
    QCOMPARE(unit.record.locations(), held);
    QCOMPARE(unit.record.capacity(), 40);
}

void UnitTest::stopsAndRunsEitherModule_data() {
    QTest::addColumn<SimKind>("kind");
    QTest::addColumn<QByteArrayList>("stopping");
    QTest::addColumn<QByteArrayList>("running");
    QTest::newRow("standard") << SimKind::Standard
                              << QByteArrayList{"ATE0\r\n", "ATE0;#SPN\r\n", "AT+CPBR=?\r\n",
                                                "AT+CPBR=1,40\r\n"}
                              << QByteArrayList{"AT#REBOOT\r\n"};
    // The LTE module stops without the follow-up line and runs its script on without a restart.
    QTest::newRow("LTE") << SimKind::Lte
                         << QByteArrayList{"ATE0\r\n", "AT#SPN\r\n", "AT+CPBR=?\r\n", "AT+CPBR=1,40\r\n"}
                         << QByteArrayList{};
}

void UnitTest::stopsAndRunsEitherModule() {
    QFETCH(SimKind, kind);
    QFETCH(QByteArrayList, stopping);
    QFETCH(QByteArrayList, running);
    SimOptions options = unitOptions(false);
    options.kind = kind;
    SimulatedUnit sim(options);
    WatchedSimPort port(sim);
    Engine engine(port);
    Unit& unit = engine.unit;

    unit.stop();
    settle(port);
    QCOMPARE(engine.failures, QStringList());
    QCOMPARE(port.sent, stopping);
    QCOMPARE(sim.mode(), SimulatedUnit::Mode::Stop);
    QCOMPARE(unit.lteModule, kind == SimKind::Lte);
    QVERIFY(engine.view.stops >= 1);
    QVERIFY(unit.record.current());
    QCOMPARE(unit.record.locations().size(), Phonebook.size());
    QVERIFY(unit.dialogue.is(Dialogue::Phase::Idle));

    port.sent.clear();
    unit.run();
    settle(port);
    QCOMPARE(port.sent, running);
    QCOMPARE(sim.mode(), SimulatedUnit::Mode::Run);
    // A unit that runs its script again may change its SIM.
    QVERIFY(!unit.record.current());
}

namespace {

// A unit stopped and read into the engine's record.
struct ReadUnit {
    ReadUnit() : sim(unitOptions(true)), port(sim), engine(port) {
        engine.unit.line.setDtr(true);
        engine.unit.askOperator("AT#SPN\r\n");
        settle(port);
        port.sent.clear();
    }
    SimulatedUnit sim;
    WatchedSimPort port;
    Engine engine;
};

} // namespace

void UnitTest::programsOnlyWhatDiffersAndChecksIt() {
    ReadUnit read;
    Unit& unit = read.engine.unit;
    Configuration configuration = configurationOf(unit.record.locations(), unit.sim.capacity);
    configuration.entry(1) = "+420600000001";
    configuration.rows << "Anna=777";
    const QMap<int, SimLocation> planned = plannedLocations(programmingPlan(configuration));

    unit.planProgramming(configuration, false);
    QVERIFY(unit.writingOnly);
    const qsizetype changes = unit.writingOnly->size();
    QCOMPARE(changes, locationChanges(unit.record.locations(), planned, 40).size());
    unit.startProgramming();
    settle(read.port);

    QCOMPARE(read.engine.failures, QStringList());
    // The probe, a write for each location that differs, and the read that checks them all.
    QCOMPARE(read.port.sent.size(), changes + 2);
    QCOMPARE(read.port.sent.first(), QByteArray("AT\r\n"));
    QCOMPARE(read.port.sent.last(), QByteArray("AT+CPBR=1,40\r\n"));
    QCOMPARE(read.engine.view.programmedCount, 1);
    const std::optional<QList<LocationChange>> differences = unit.record.takeVerification();
    QVERIFY(differences && differences->isEmpty());
    QVERIFY(unit.record.current());
    QCOMPARE(unit.record.locations(), planned);
}

void UnitTest::aUnitGoneMidProgrammingSaysHowFarItGot() {
    ReadUnit read;
    Unit& unit = read.engine.unit;
    Configuration configuration;
    configuration.simCapacity = 40;
    for (int row = 1; row <= 8; ++row)
        configuration.rows << "Row" + QByteArray::number(row) + "=" + QByteArray::number(100 + row);
    // The unit goes away once it has confirmed the fourth row's write (empty fixed entries take no
    // location: the rows start at location 1).
    read.engine.view.onStep = [&](int) {
        if (read.sim.phonebook().value(4).name == "Row4") read.port.vanish();
    };
    unit.planProgramming(configuration, true);
    unit.startProgramming();
    settle(read.port);

    QCOMPARE(read.engine.view.endedEarly, std::optional(Dialogue::Outcome::PortLost));
    QVERIFY2(read.engine.view.programmingReport.startsWith(
                 QStringLiteral("The last location written was 4 of 40.")),
             qPrintable(read.engine.view.programmingReport));
    QCOMPARE(read.sim.phonebook().value(4).name, QByteArray("Row4"));
    QVERIFY(!read.sim.phonebook().contains(5));
    // The unit at the end of a lost line may be another one when it is back: nothing is taken as known.
    QVERIFY(!unit.record.known());
    QVERIFY(unit.dialogue.is(Dialogue::Phase::Idle));
}

void UnitTest::aSingleWriteIsReadBack() {
    ReadUnit read;
    Unit& unit = read.engine.unit;
    unit.writeSingle("AT+CPBW=7,999,,Gate\r\n");
    // Until the read-back has shown it, what the unit holds is not known.
    QVERIFY(!unit.record.current());
    settle(read.port);

    QCOMPARE(read.engine.failures, QStringList());
    QCOMPARE(read.port.sent,
             (QByteArrayList{"AT+CPBW=7,999,,Gate\r\n", "AT#SPN\r\n", "AT+CPBR=?\r\n", "AT+CPBR=1,40\r\n"}));
    QVERIFY(unit.record.current());
    QCOMPARE(unit.record.locations().value(7), (SimLocation{"999", "Gate"}));
}

void UnitTest::silenceEndsAPhaseOnlyWhileNothingMoves() {
    TestPort port;
    Engine engine(port);
    Unit& unit = engine.unit;
    unit.line.setDtr(true);
    unit.askOperator("AT#SPN\r\n");
    QVERIFY(unit.dialogue.is(Dialogue::Phase::ReadingBack));

    // Answers waiting to be read, and bytes still leaving as long as fewer are left each time, are no
    // silence of the unit.
    port.waitingInput = true;
    engine.pacer.expire();
    port.waitingInput = false;
    port.pendingOutput = 5000;
    engine.pacer.expire();
    port.pendingOutput = 4000;
    engine.pacer.expire();
    QVERIFY(unit.dialogue.is(Dialogue::Phase::ReadingBack));
    QCOMPARE(engine.failures, QStringList());

    // Bytes that stay put are.
    engine.pacer.expire();
    QCOMPARE(engine.view.endedEarly, std::optional(Dialogue::Outcome::TimedOut));
    QCOMPARE(engine.failures, QStringList{QStringLiteral("The unit on TEST has not answered for 10 s.")});
}

void UnitTest::aListingThatCannotBeTrueEndsTheReadBack_data() {
    QTest::addColumn<QByteArrayList>("listing");
    QTest::addColumn<QString>("cause");
    QTest::newRow("a location twice")
        << QByteArrayList{"+CPBR: 3,\"1\",129,\"A\"", "+CPBR: 3,\"2\",129,\"B\""}
        << QStringLiteral("The unit listed its location 3 twice");
    QTest::newRow("a location outside the SIM")
        << QByteArrayList{"+CPBR: 41,\"1\",129,\"A\""} << QStringLiteral("Its entry \"A\" is left out.");
    QTest::newRow("an error instead of the listing")
        << QByteArrayList{"+CME ERROR: 100"} << QStringLiteral("The unit answered \"+CME ERROR: 100\".");
}

void UnitTest::aListingThatCannotBeTrueEndsTheReadBack() {
    QFETCH(QByteArrayList, listing);
    QFETCH(QString, cause);
    TestPort port;
    Engine engine(port);
    Unit& unit = engine.unit;
    QSignalSpy ended(&unit.dialogue, &Dialogue::ended);
    unit.line.setDtr(true);
    unit.askOperator("AT#SPN\r\n");
    for (const QByteArray& line : QByteArrayList{"#SPN: NET", "OK", "+CPBR: (1-40),40,18", "OK"} + listing)
        port.deliver("\r\n" + line + "\r\n");

    QCOMPARE(engine.view.endedEarly, std::optional(Dialogue::Outcome::Refused));
    QCOMPARE(engine.failures.size(), 1);
    QVERIFY2(engine.failures.first().contains(cause), qPrintable(engine.failures.first()));
    QCOMPARE(ended.size(), 1);
    // A listing cut short says nothing of the whole unit.
    QVERIFY(!unit.record.known());
    QCOMPARE(port.commands(), (QByteArrayList{"AT#SPN", "AT+CPBR=?", "AT+CPBR=1,40"}));
}

QTEST_MAIN(UnitTest)
#include "tst_unit.moc"
