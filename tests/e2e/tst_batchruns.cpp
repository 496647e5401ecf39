#include "TestData.h"

#include "core/WholeFile.h"
#include "sim/PtyFront.h"
#include "sim/SimulatedUnit.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <memory>

// The program's batch runs as a production bench starts them: the real executable against the simulated
// unit on a pseudo-terminal, with real signals. Each run is judged by its exit status, by what the unit
// received last, and by what it holds afterwards.
class BatchRunsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void runs_data();
    void runs();
    void aSecondRunOnTheSameDeviceIsRefused();
};

namespace {

// How the unit answers.
enum class Pace {
    // At once, with a SIM of 20 locations.
    Instant,
    // At the line's rate both ways, 15 ms a record.
    Real,
    // A SIM of 250 locations that takes 45 ms to look at each, used or not.
    SlowScan,
};

// What the unit says instead of its true listing.
enum class Listing { True, EntryBeyondSize, SizeAgain, LocationTwice };

// What happens to the run on its way.
enum class Event {
    None,
    // SIGHUP when the unit takes the fifth write.
    HangUpAtWrite5,
    // The reader of the output goes away after three lines, as "2>&1 | head -3" does.
    OutputClosed,
    // Ctrl+Z for 2.5 s at the fifth write, then fg.
    SuspendedAtWrite5,
    // SIGTERM while a file's data is on the line.
    TerminatedInData,
    // The module hangs after taking 8 kB of a file's data, and takes nothing more.
    HangsInData,
    // The adapter is pulled at the fifth write.
    AdapterLostAtWrite5,
};

// What the unit went through.
enum class End {
    // It received nothing.
    Untouched,
    // It was switched back to run mode last.
    BackToRun,
    // It was left in stop mode.
    Stopped,
};

// What the unit holds afterwards.
enum class Holds {
    Old,
    New,
    // The new configuration up to a point, the old one after it.
    Mix,
    // Not all of the new configuration: a mix, or the old one when the run ended before the first write.
    NotAllNew,
    // The uploaded script, whole.
    BigScript,
    // The list's first script, and nothing of the lines after its blank line.
    FirstScriptOnly,
};

struct BatchCase {
    // Arguments after --port; "@name" is a file in the run's folder.
    QStringList arguments;
    Pace pace = Pace::Instant;
    Listing listing = Listing::True;
    Event event = Event::None;
    // The backup folder cannot be made.
    bool backupBlocked = false;
    int status = 0;
    End end = End::BackToRun;
    Holds holds = Holds::Old;
    // Words standard error must hold.
    QStringList said = {};
    // A file named by the arguments that must not exist afterwards.
    QString noFile = {};
};

// A SIM of 20 locations, all used: the administrator number, then rows.
QMap<int, SimEntry> oldUnit() {
    QMap<int, SimEntry> entries{{1, {"+420111", "ADMIN1"}}};
    for (int i = 2; i <= 20; ++i)
        entries[i] = {QByteArray::number(600000000 + i), "Old" + QByteArray::number(i)};
    return entries;
}

SimOptions unitOptions(Pace pace) {
    SimOptions options = SimOptions::realistic();
    if (pace != Pace::Real) options = options.instant();
    options.busyPhonebookCommands = 0;
    // DTR does not cross a pseudo-terminal: the unit waits stopped, and the program finds it so.
    options.startStopped = true;
    options.capacity = pace == Pace::SlowScan ? 250 : 20;
    if (pace == Pace::SlowScan) options.locationMs = 45;
    options.phonebook = oldUnit();
    return options;
}

QByteArray entry(int location, const QByteArray& number, const QByteArray& name) {
    return "+CPBR: " + QByteArray::number(location) + ",\"" + number + "\",129,\"" + name + "\"";
}

void falsify(SimulatedUnit& unit, Listing listing) {
    const QByteArray read = "AT+CPBR=1,";
    switch (listing) {
    case Listing::True:
        return;
    case Listing::EntryBeyondSize:
        unit.answerNext(read, {entry(1, "+420111", "ADMIN1"), entry(21, "123", "Beyond"), "OK"});
        return;
    case Listing::SizeAgain:
        unit.answerNext(read,
                        {entry(1, "+420111", "ADMIN1"), "+CPBR: (1-250),80,40", entry(2, "5", "Old2"), "OK"});
        return;
    case Listing::LocationTwice:
        unit.answerNext(read,
                        {entry(1, "+420111", "ADMIN1"), entry(2, "5", "Old2"), entry(2, "6", "Twin"), "OK"});
        return;
    }
}

QString holdsProblem(const SimulatedUnit& unit, Holds holds) {
    const QMap<int, SimEntry>& book = unit.phonebook();
    const bool firstIsNew = book.value(1) == SimEntry{"+420999", "ADMIN1"};
    qsizetype old = 0;
    for (const SimEntry& held : book)
        if (held.name.startsWith("Old")) ++old;
    switch (holds) {
    case Holds::Old:
        if (book != oldUnit()) return QStringLiteral("the unit's phonebook changed");
        return {};
    case Holds::New:
        if (!firstIsNew || old > 0 || book.value(15) != SimEntry{"10", "New10"})
            return QStringLiteral("the unit is not wholly programmed");
        return {};
    case Holds::Mix:
        if (!firstIsNew || old == 0) return QStringLiteral("the unit holds no mix");
        return {};
    case Holds::NotAllNew:
        if (old == 0) return QStringLiteral("the unit was programmed whole");
        return {};
    case Holds::BigScript:
        if (unit.scripts().value("big.pyo") != everyByteValue(60000))
            return QStringLiteral("the script did not arrive whole");
        return {};
    case Holds::FirstScriptOnly:
        if (!unit.scripts().contains("a.pyo") || !unit.selectedScript().isEmpty())
            return QStringLiteral("the lines after the blank one were carried out, or the first was not");
        return {};
    }
    return {};
}

} // namespace

Q_DECLARE_METATYPE(BatchCase)

void BatchRunsTest::initTestCase() {
    if (qEnvironmentVariableIsEmpty("ZUVOVU_BUILD_DIR"))
        QSKIP("ZUVOVU_BUILD_DIR names the folder of zuvovu; CTest sets it");
}

void BatchRunsTest::runs_data() {
    QTest::addColumn<BatchCase>("run");
    const QString readsIt = QStringLiteral("the unit was not read");

    // Files and folders are checked before the unit is touched; whatever ends a run that stopped the unit
    // switches it back to run mode.
    QTest::newRow("read into a missing folder") << BatchCase{.arguments = {"--read", "@missing/unit.oru"},
                                                             .status = 2,
                                                             .end = End::Untouched,
                                                             .said = {"missing"}};
    QTest::newRow("read onto a full disk")
        << BatchCase{.arguments = {"--read", "/dev/full"}, .status = 2, .said = {"/dev/full"}};
    QTest::newRow("upload of a list naming a missing file")
        << BatchCase{.arguments = {"--upload", "@missing.ifo"},
                     .status = 2,
                     .end = End::Untouched,
                     .said = {"absent.pyo"}};
    QTest::newRow("program a value the unit cannot take") << BatchCase{
        .arguments = {"--program", "@comma.oru"}, .status = 2, .end = End::Untouched, .said = {"a comma"}};
    QTest::newRow("log into a missing folder")
        << BatchCase{.arguments = {"--read", "@unit.oru", "--log", "@missing/run.mon"},
                     .status = 2,
                     .end = End::Untouched,
                     .said = {"missing/run.mon"},
                     .noFile = "@unit.oru"};
    QTest::newRow("backup folder that cannot be made") << BatchCase{.arguments = {"--program", "@new.oru"},
                                                                    .backupBlocked = true,
                                                                    .status = 2,
                                                                    .end = End::Untouched,
                                                                    .said = {"backup folder"}};

    // Signals and a lost reader end the run in order.
    QTest::newRow("SIGHUP while programming") << BatchCase{
        .arguments = {"--program", "@new.oru", "--log", "@run.mon"},
        .event = Event::HangUpAtWrite5,
        .status = 4,
        .holds = Holds::Mix,
        .said = {"interrupted while programming", "Written with the new content: locations 1 to 4.",
                 "Location 5 may or may not have been written.", "What the unit held before is kept in"}};
    QTest::newRow("reader of the output gone")
        << BatchCase{.arguments = {"--program", "@new.oru", "--log", "@run.mon"},
                     .event = Event::OutputClosed,
                     .status = 4,
                     .holds = Holds::NotAllNew};
    QTest::newRow("Ctrl+Z and fg while programming")
        << BatchCase{.arguments = {"--program", "@new.oru", "--timeout", "1"},
                     .event = Event::SuspendedAtWrite5,
                     .holds = Holds::New};
    QTest::newRow("SIGTERM while a file's data leaves") << BatchCase{.arguments = {"--upload", "@big.ifo"},
                                                                     .pace = Pace::Real,
                                                                     .event = Event::TerminatedInData,
                                                                     .status = 4,
                                                                     .holds = Holds::BigScript};

    // The silence limit counts from the last byte out, in every phase.
    QTest::newRow("upload longer on the line than the limit")
        << BatchCase{.arguments = {"--upload", "@big.ifo", "--timeout", "2"},
                     .pace = Pace::Real,
                     .holds = Holds::BigScript};
    // Data that does not leave at all is the unit's silence: the upload ends at the limit.
    QTest::newRow("upload to a unit that stops taking bytes")
        << BatchCase{.arguments = {"--upload", "@huge.ifo", "--timeout", "2"},
                     .pace = Pace::Real,
                     .event = Event::HangsInData,
                     .status = 3,
                     .end = End::Stopped,
                     .said = {"has taken no more of the upload's data for 2 s"}};
    QTest::newRow("SIM slower than the usual limit")
        << BatchCase{.arguments = {"--read", "@unit.oru", "--timeout", "30"}, .pace = Pace::SlowScan};

    // A status speaks only of what happened.
    QTest::newRow("entry beyond the stated size") << BatchCase{.arguments = {"--read", "@unit.oru"},
                                                               .listing = Listing::EntryBeyondSize,
                                                               .status = 3,
                                                               .said = {readsIt, "\"21\"", "Beyond"},
                                                               .noFile = "@unit.oru"};
    // A late answer to an earlier size query: the listing is the read's own all the same.
    QTest::newRow("size again in the middle of the listing")
        << BatchCase{.arguments = {"--read", "@unit.oru"}, .listing = Listing::SizeAgain, .said = {"saving"}};
    QTest::newRow("location listed twice") << BatchCase{.arguments = {"--read", "@unit.oru"},
                                                        .listing = Listing::LocationTwice,
                                                        .status = 3,
                                                        .said = {readsIt, "location 2 twice", "Twin"},
                                                        .noFile = "@unit.oru"};
    QTest::newRow("upgrade list with a blank line")
        << BatchCase{.arguments = {"--upload", "@blank.ifo"},
                     .status = 1,
                     .holds = Holds::FirstScriptOnly,
                     .said = {"line 4 \"DEL:x.pyo\"", "line 5 \"RUN:a.pyo\"", "not sent"}};

    QTest::newRow("adapter pulled while programming")
        << BatchCase{.arguments = {"--program", "@new.oru"},
                     .event = Event::AdapterLostAtWrite5,
                     .status = 3,
                     .end = End::Stopped,
                     .holds = Holds::Mix,
                     .said = {"was lost: ", "Written with the new content: locations 1 to ", "mix",
                              "What the unit held before is kept in"}};
}

void BatchRunsTest::runs() {
    QFETCH(BatchCase, run);
    QTemporaryDir dir;
    const auto path = [&dir](const QString& argument) {
        return argument.startsWith(QLatin1Char('@')) ? dir.filePath(argument.mid(1)) : argument;
    };
    QByteArray rows;
    for (int i = 1; i <= 10; ++i)
        rows += "New" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\r\n";
    writeFile(path("@new.oru"), "ADMIN1=+420999\r\n" + rows);
    writeFile(path("@comma.oru"), "ADMIN1=+420999\r\nBob=1,2\r\n");
    writeFile(path("@big.pyo"), everyByteValue(60000));
    writeFile(path("@a.pyo"), "print(1)");
    writeFile(path("@big.ifo"), "big.pyo\r\n");
    writeFile(path("@huge.pyo"), everyByteValue(300000));
    writeFile(path("@huge.ifo"), "huge.pyo\r\n");
    writeFile(path("@missing.ifo"), "a.pyo\r\nabsent.pyo\r\n");
    writeFile(path("@blank.ifo"), "a.pyo\r\nSET:AT\r\n\r\nDEL:x.pyo\r\nRUN:a.pyo\r\n");
    writeFile(path("@data"), "a file where the backup folder would be");

    SimulatedUnit unit(unitOptions(run.pace));
    falsify(unit, run.listing);
    auto front = std::make_unique<PtyFront>(unit);
    // The adapter as a udev name stands for it, a link of the test's own: pulling it removes the link first,
    // so that the terminal's number, free once the front is gone, can be no other program's in its place.
    const QString adapter = dir.filePath(QStringLiteral("ttyADAPTER"));
    QVERIFY(QFile::link(QString::fromLocal8Bit(front->devicePath()), adapter));
    QByteArrayList received;
    int writes = 0;
    QProcess zuvovu;
    connect(&unit, &SimulatedUnit::executed, this, [&](const QByteArray& line) {
        received << line;
        // The data follows the command at once and takes five seconds on the line.
        if (run.event == Event::TerminatedInData && line.startsWith("AT#WSCRIPT="))
            QTimer::singleShot(1500, this, [&] { ::kill(static_cast<pid_t>(zuvovu.processId()), SIGTERM); });
        // 8 kB take 0.7 s on the line, after the prompt and the program's pause before the data.
        if (run.event == Event::HangsInData && line.startsWith("AT#WSCRIPT="))
            QTimer::singleShot(1300, this, [&] { front->hang(); });
        if (!line.startsWith("AT+CPBW=") || ++writes != 5) return;
        switch (run.event) {
        case Event::HangUpAtWrite5:
            ::kill(static_cast<pid_t>(zuvovu.processId()), SIGHUP);
            break;
        case Event::SuspendedAtWrite5:
            ::kill(static_cast<pid_t>(zuvovu.processId()), SIGSTOP);
            QTimer::singleShot(2500, this, [&] { ::kill(static_cast<pid_t>(zuvovu.processId()), SIGCONT); });
            break;
        case Event::AdapterLostAtWrite5:
            // After this answer is out.
            QTimer::singleShot(100, this, [&] {
                QFile::remove(adapter);
                front.reset();
            });
            break;
        default:
            break;
        }
    });
    QByteArray said;
    connect(&zuvovu, &QProcess::readyReadStandardError, this, [&] { said += zuvovu.readAllStandardError(); });

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), run.backupBlocked ? path("@data") : dir.path());
    zuvovu.setProcessEnvironment(environment);
    zuvovu.setWorkingDirectory(dir.path());
    QStringList arguments{QStringLiteral("--port"), adapter};
    for (const QString& argument : run.arguments)
        arguments << path(argument);
    const QString program = qEnvironmentVariable("ZUVOVU_BUILD_DIR") + QStringLiteral("/zuvovu");
    if (run.event == Event::OutputClosed)
        zuvovu.start(QStringLiteral("bash"),
                     QStringList{"-c", "\"$0\" \"$@\" 2>&1 | head -3; exit ${PIPESTATUS[0]}", program} +
                         arguments);
    else
        zuvovu.start(program, arguments);
    QVERIFY(zuvovu.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(zuvovu.state() == QProcess::NotRunning, 60000);
    // What the program sent last is read by the unit once it is through the terminal: what must come is
    // waited for, and what must not has this long to show.
    QTest::qWait(300);

    QCOMPARE(zuvovu.exitStatus(), QProcess::NormalExit);
    QVERIFY2(zuvovu.exitCode() == run.status, said.constData());
    for (const QString& words : run.said)
        QVERIFY2(QString::fromLocal8Bit(said).contains(words),
                 qPrintable(words + QStringLiteral(" in:\n") + said));
    switch (run.end) {
    case End::Untouched:
        QCOMPARE(received, QByteArrayList());
        break;
    case End::BackToRun:
        QTRY_COMPARE_WITH_TIMEOUT(received.value(received.size() - 1), QByteArray("AT#REBOOT"), 30000);
        QCOMPARE(unit.mode(), SimulatedUnit::Mode::Run);
        break;
    case End::Stopped:
        QVERIFY(received.value(received.size() - 1) != "AT#REBOOT");
        QCOMPARE(unit.mode(), SimulatedUnit::Mode::Stop);
        break;
    }
    const QString problem = holdsProblem(unit, run.holds);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    if (!run.noFile.isEmpty()) QVERIFY(!QFile::exists(path(run.noFile)));
    if (run.arguments.contains(QStringLiteral("@run.mon")))
        QVERIFY(readWholeFile(path("@run.mon")).contains("+CPBR: 20,"));
}

void BatchRunsTest::aSecondRunOnTheSameDeviceIsRefused() {
    QTemporaryDir dir;
    QByteArray rows;
    for (int i = 1; i <= 10; ++i)
        rows += "New" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\r\n";
    writeFile(dir.filePath(QStringLiteral("new.oru")), "ADMIN1=+420999\r\n" + rows);
    SimulatedUnit unit(unitOptions(Pace::Instant));
    PtyFront front(unit);
    const QString device = QString::fromLocal8Bit(front.devicePath());
    // Another name for the same device.
    const QString link = dir.filePath(QStringLiteral("unit-link"));
    QVERIFY(QFile::link(device, link));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.path());
    const QString program = qEnvironmentVariable("ZUVOVU_BUILD_DIR") + QStringLiteral("/zuvovu");

    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(program, {"--port", device, "--program", dir.filePath(QStringLiteral("new.oru"))});
    QVERIFY(first.waitForStarted());
    int writes = 0;
    connect(&unit, &SimulatedUnit::executed, this, [&writes](const QByteArray& line) {
        if (line.startsWith("AT+CPBW=")) ++writes;
    });
    QTRY_VERIFY_WITH_TIMEOUT(writes > 0, 30000);

    QProcess second;
    second.setProcessEnvironment(environment);
    const QString file = dir.filePath(QStringLiteral("second.oru"));
    second.start(program, {"--port", link, "--read", file});
    QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 30000);
    const QByteArray refused = second.readAllStandardError();
    QVERIFY2(second.exitCode() == 3, refused.constData());
    QVERIFY2(refused.contains("another program is using it"), refused.constData());
    QVERIFY(!QFile::exists(file));

    QTRY_VERIFY_WITH_TIMEOUT(first.state() == QProcess::NotRunning, 60000);
    QVERIFY2(first.exitCode() == 0, first.readAllStandardError().constData());
    QCOMPARE(holdsProblem(unit, Holds::New), QString());
}

QTEST_MAIN(BatchRunsTest)
#include "tst_batchruns.moc"
