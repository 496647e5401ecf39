#include "RecordingPacer.h"
#include "TestData.h"

#include "app/ProgramOptions.h"
#include "app/TForm1.h"
#include "batch/BatchRun.h"
#include "batch/ConsoleDialogs.h"
#include "batch/WatchedPort.h"
#include "core/WholeFile.h"
#include "sim/SimulatedPort.h"
#include "sim/SimulatedUnit.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>
#include <sys/stat.h>

namespace {

// One batch run through a fresh window against a simulated unit that outlives it.
struct Batch {
    Batch(SimulatedUnit& unit, BatchRun::Task task, const QString& file, const QString& folder)
        : simPort(unit), port(simPort), pacer(true), err(&errors), dialogs(err),
          form(port, pacer, dialogs, QStringLiteral("zuvovu"), folder + QStringLiteral("/zuvovu.ini")) {
        settings.task = task;
        settings.file = file;
        settings.timeoutSeconds = 2;
        settings.stopAnswerMs = 300;
    }
    int run() {
        BatchRun batch(form, port, dialogs, settings, err);
        if (prepare) prepare(batch);
        return batch.run();
    }
    std::function<void(BatchRun&)> prepare;

    SimulatedPort simPort;
    WatchedPort port;
    RecordingPacer pacer;
    QString errors;
    QTextStream err;
    ConsoleDialogs dialogs;
    TForm1 form;
    BatchRun::Settings settings;
};

// A unit with an entry of every kind, the parameter strings as the program itself writes them.
QMap<int, SimEntry> configuredUnit() {
    return {{1, {"+420111222333", "ADMIN1"}},
            {2, {"602111222", "ABUTTON1"}},
            {3, {"602333444", "BBUTTON2"}},
            {4, {"Alarm on", "ALARMON"}},
            {5, {"3.45", "VER"}},
            {6, {"4#6#2#1#0#5#1#3", "PARORU"}},
            {7, {"5#1#03#0", "PARRL1"}},
            {8, {"6#4#10#0", "PARRL2"}},
            {9, {"3#1", "PARKEY"}},
            {10, {"777888999", "Anna"}},
            {11, {"+420555666", "B12-1"}},
            {12, {"608000111", "M3-1"}},
            {13, {"1#1#0000011#05#0", "C1234C"}},
            {14, {"1", "DETECT"}},
            {15, {"123", "Bob"}}};
}

QString read(const QString& path) {
    return QString::fromLatin1(readWholeFile(path));
}

} // namespace

class BatchTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void readThenProgramThenReadGivesTheSameFile();
    void readsAUnitThatWasStoppedAlready();
    void aUnitThatStopsAnsweringEndsTheRun();
    void aDroppedWriteIsADifference();
    void aFileThatIsNoConfigurationTouchesNoUnit_data();
    void aFileThatIsNoConfigurationTouchesNoUnit();
    void readAndLogTargetsAreWrittenIntoNeverReplaced();
    void aSlowUnitReadsAsTheFastOne();
    void aReadTheUnitRefusesWritesNoFile();
    void aRefusedWriteEndsTheRunAndSaysWhere();
    void aSignalEndsTheRunAfterTheCommandInFlight();
    void diffListsWhatProgrammingWouldChange();
    void uploadRunsAListWithoutAWindow_data();
    void uploadRunsAListWithoutAWindow();
    void arguments_data();
    void arguments();
    void linePortsAreTakenEveryWayTheyAreGiven();
    void runsFromAPlainTerminal();

private:
    QTemporaryDir m_data;
};

void BatchTest::initTestCase() {
    // Programming keeps its backups in the user's data folder: here, a folder of the test's own.
    QVERIFY(m_data.isValid());
    qputenv("XDG_DATA_HOME", m_data.path().toLocal8Bit());
}

void BatchTest::readThenProgramThenReadGivesTheSameFile() {
    QTemporaryDir dir;
    SimOptions options;
    options.phonebook = configuredUnit();
    SimulatedUnit source(options);
    const QString first = dir.filePath(QStringLiteral("first.oru"));
    {
        Batch batch(source, BatchRun::Task::Read, first, dir.path());
        QCOMPARE(batch.run(), int(BatchRun::Done));
        QVERIFY2(batch.errors.contains(QStringLiteral("reading 250 locations")), qPrintable(batch.errors));
        QCOMPARE(source.mode(), SimulatedUnit::Mode::Run);
    }
    const QString saved = read(first);
    QVERIFY(saved.startsWith(QStringLiteral("ADMIN1=+420111222333\r\nADMIN2=\r\n")));
    QVERIFY(saved.contains(QStringLiteral("PARORU=4#6#2#1#0#5#1#3\r\n")));
    QVERIFY(saved.endsWith(QStringLiteral("Anna=777888999\r\nB12-1=+420555666\r\nM3-1=608000111\r\n"
                                          "C1234C=1#1#0000011#05#0\r\nDETECT=1\r\nBob=123\r\n")));

    SimulatedUnit target{SimOptions{}};
    {
        Batch batch(target, BatchRun::Task::Program, first, dir.path());
        batch.settings.stayStopped = true;
        QCOMPARE(batch.run(), int(BatchRun::Done));
        // The unit was empty: every entry of the file is a change.
        QVERIFY2(batch.errors.contains(QStringLiteral("programming location 1, change 1 of ")),
                 qPrintable(batch.errors));
        QVERIFY(batch.errors.contains(QStringLiteral("backup of the unit: ") + m_data.path()));
        QVERIFY(batch.errors.contains(QStringLiteral("verifying")));
        QVERIFY(!batch.errors.contains(QStringLiteral("running")));
        QCOMPARE(target.mode(), SimulatedUnit::Mode::Stop);
    }
    QCOMPARE(target.phonebook().value(1), (SimEntry{"+420111222333", "ADMIN1"}));
    const QString second = dir.filePath(QStringLiteral("second.oru"));
    {
        Batch batch(target, BatchRun::Task::Read, second, dir.path());
        QCOMPARE(batch.run(), int(BatchRun::Done));
    }
    QCOMPARE(read(second), saved);
}

void BatchTest::readsAUnitThatWasStoppedAlready() {
    QTemporaryDir dir;
    SimOptions options;
    options.startStopped = true;
    options.phonebook = {{1, {"+420111", "ADMIN1"}}};
    SimulatedUnit unit(options);
    const QString file = dir.filePath(QStringLiteral("unit.oru"));
    Batch batch(unit, BatchRun::Task::Read, file, dir.path());
    batch.settings.logFile = dir.filePath(QStringLiteral("unit.mon"));
    QCOMPARE(batch.run(), int(BatchRun::Done));
    QVERIFY(read(file).startsWith(QStringLiteral("ADMIN1=+420111\r\n")));
    QVERIFY(read(batch.settings.logFile).contains(QStringLiteral("+CPBR: 1,\"+420111\",145,\"ADMIN1\"")));
}

void BatchTest::aUnitThatStopsAnsweringEndsTheRun() {
    QTemporaryDir dir;
    SimulatedUnit unit{SimOptions{}};
    unit.ignoreNext("AT+CPBR=?");
    Batch batch(unit, BatchRun::Task::Read, dir.filePath(QStringLiteral("unit.oru")), dir.path());
    batch.settings.timeoutSeconds = 1;
    QCOMPARE(batch.run(), int(BatchRun::PortFailure));
    // The time-out is the phase's limit on the unit's silence.
    for (const char* words : {"has not answered for 1 s", "error: the unit was not read"})
        QVERIFY2(batch.errors.contains(QLatin1String(words)), qPrintable(batch.errors));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("unit.oru"))));
}

void BatchTest::aDroppedWriteIsADifference() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("unit.oru"));
    writeWholeFile(file, "ADMIN1=+420111\r\nADMIN2=+420222\r\n");
    SimulatedUnit unit{SimOptions{}};
    unit.dropNextWrite("AT+CPBW=2,");
    Batch batch(unit, BatchRun::Task::Program, file, dir.path());
    QCOMPARE(batch.run(), int(BatchRun::Differences));
    QVERIFY2(batch.errors.contains(
                 QStringLiteral("location 2: wrote \"+420222\" named \"ADMIN2\", read back (empty)")),
             qPrintable(batch.errors));
    QVERIFY(batch.errors.contains(QStringLiteral("1 location differs")));
    QVERIFY(batch.errors.contains(QStringLiteral("running")));
}

void BatchTest::aFileThatIsNoConfigurationTouchesNoUnit_data() {
    QTest::addColumn<BatchRun::Task>("task");
    // The file's bytes; none for a file that is not there.
    QTest::addColumn<std::optional<QByteArray>>("bytes");
    QTest::newRow("missing") << BatchRun::Task::Program << std::optional<QByteArray>();
    QTest::newRow("empty") << BatchRun::Task::Program << std::optional<QByteArray>(QByteArray());
    QTest::newRow("binary") << BatchRun::Task::Program << std::optional<QByteArray>(everyByteValue(4096));
    QTest::newRow("NUL in a value") << BatchRun::Task::Diff
                                    << std::optional<QByteArray>(QByteArray("ADMIN1=+420") + '\0' + "1\r\n");
    QTest::newRow("text without a name=value line")
        << BatchRun::Task::Program << std::optional<QByteArray>(QByteArray("hello\r\nworld\r\n"));
    QTest::newRow("missing list") << BatchRun::Task::Upload << std::optional<QByteArray>();
}

void BatchTest::aFileThatIsNoConfigurationTouchesNoUnit() {
    QFETCH(BatchRun::Task, task);
    QFETCH(std::optional<QByteArray>, bytes);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("unit.oru"));
    if (bytes) writeWholeFile(file, *bytes);
    SimulatedUnit unit{SimOptions{}};
    Batch batch(unit, task, file, dir.path());
    QCOMPARE(batch.run(), int(BatchRun::BadArguments));
    QVERIFY2(batch.errors.startsWith(QStringLiteral("error: ")) && batch.errors.contains(file),
             qPrintable(batch.errors));
    QVERIFY(!unit.dtr());
    QVERIFY(!batch.errors.contains(QStringLiteral("stopping")));
}

void BatchTest::readAndLogTargetsAreWrittenIntoNeverReplaced() {
    QTemporaryDir dir;
    SimOptions options;
    options.phonebook = configuredUnit();
    SimulatedUnit unit(options);
    // A link: its target gets the file, the link stays a link.
    const QString target = dir.filePath(QStringLiteral("target.oru"));
    const QString link = dir.filePath(QStringLiteral("link.oru"));
    writeWholeFile(target, "old");
    QVERIFY(QFile::link(target, link));
    {
        Batch batch(unit, BatchRun::Task::Read, link, dir.path());
        batch.settings.logFile = QStringLiteral("/dev/null");
        QCOMPARE(batch.run(), int(BatchRun::Done));
    }
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(read(target).startsWith(QStringLiteral("ADMIN1=+420111222333\r\n")));
    QVERIFY(QFileInfo(QStringLiteral("/dev/null")).exists() &&
            !QFileInfo(QStringLiteral("/dev/null")).isFile());

    // A FIFO that nobody reads: refused, and still a FIFO.
    const QString fifo = dir.filePath(QStringLiteral("fifo.oru"));
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    Batch batch(unit, BatchRun::Task::Read, fifo, dir.path());
    QCOMPARE(batch.run(), int(BatchRun::BadArguments));
    QVERIFY2(batch.errors.contains(fifo), qPrintable(batch.errors));
    struct stat status {};
    QVERIFY(::lstat(QFile::encodeName(fifo).constData(), &status) == 0 && S_ISFIFO(status.st_mode));
}

void BatchTest::aSlowUnitReadsAsTheFastOne() {
    QTemporaryDir dir;
    QByteArrayList files;
    for (const bool realPace : {false, true}) {
        SimOptions options = realPace ? SimOptions::realistic() : SimOptions();
        // The SIM is still starting when it is first asked.
        options.busyPhonebookCommands = realPace ? 1 : 0;
        options.phonebook = configuredUnit();
        SimulatedUnit unit(options);
        const QString file = dir.filePath(realPace ? QStringLiteral("slow.oru") : QStringLiteral("fast.oru"));
        Batch batch(unit, BatchRun::Task::Read, file, dir.path());
        QCOMPARE(batch.run(), int(BatchRun::Done));
        files << readWholeFile(file);
    }
    QCOMPARE(files[1], files[0]);
}

void BatchTest::aReadTheUnitRefusesWritesNoFile() {
    QTemporaryDir dir;
    SimOptions options;
    options.busyPhonebookCommands = 100;
    SimulatedUnit unit(options);
    const QString file = dir.filePath(QStringLiteral("unit.oru"));
    Batch batch(unit, BatchRun::Task::Read, file, dir.path());
    QCOMPARE(batch.run(), int(BatchRun::PortFailure));
    QVERIFY2(batch.errors.contains(QStringLiteral("+CME ERROR: 14")), qPrintable(batch.errors));
    QVERIFY2(batch.errors.contains(QStringLiteral("error: the unit was not read")), qPrintable(batch.errors));
    QVERIFY(!QFile::exists(file));
    QCOMPARE(unit.mode(), SimulatedUnit::Mode::Run);
}

void BatchTest::aRefusedWriteEndsTheRunAndSaysWhere() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("unit.oru"));
    writeWholeFile(file, "ADMIN1=+420111\r\nADMIN2=+420222\r\nADMIN3=+420333\r\n");
    SimulatedUnit unit{SimOptions{}};
    unit.failNext("AT+CPBW=2,", "+CME ERROR: 20");
    Batch batch(unit, BatchRun::Task::Program, file, dir.path());
    QCOMPARE(batch.run(), int(BatchRun::PortFailure));
    for (const char* words :
         {"The unit answered \"+CME ERROR: 20\"", "Written with the new content: location 1.",
          "Location 2 was not written", "Still holding the old content: locations 3 to ",
          "programming stopped early", "mix", "What the unit held before is kept in"})
        QVERIFY2(batch.errors.contains(QLatin1String(words)), qPrintable(batch.errors));
    QVERIFY(!batch.errors.contains(QStringLiteral("verifying")));
    QCOMPARE(unit.phonebook().value(3), SimEntry{});
}

void BatchTest::aSignalEndsTheRunAfterTheCommandInFlight() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("unit.oru"));
    {
        SimOptions options;
        options.phonebook = configuredUnit();
        SimulatedUnit source(options);
        Batch batch(source, BatchRun::Task::Read, file, dir.path());
        QCOMPARE(batch.run(), int(BatchRun::Done));
    }
    SimulatedUnit unit{SimOptions{}};
    Batch batch(unit, BatchRun::Task::Program, file, dir.path());
    batch.settings.logFile = dir.filePath(QStringLiteral("unit.mon"));
    batch.settings.full = true;
    int writes = 0;
    batch.prepare = [&](BatchRun& run) {
        QObject::connect(&unit, &SimulatedUnit::executed, &run, [&](const QByteArray& line) {
            if (line.startsWith("AT+CPBW=") && ++writes == 10) run.interrupt();
        });
    };
    QCOMPARE(batch.run(), int(BatchRun::Interrupted));
    QCOMPARE(writes, 10);
    for (const char* words : {"interrupted while programming location 10 of 250", "Interrupted by a signal.",
                              "The last location written was 9 of 250", "running"})
        QVERIFY2(batch.errors.contains(QLatin1String(words)), qPrintable(batch.errors));
    // The write in flight was answered and kept; nothing after it went out.
    QCOMPARE(unit.phonebook().size(), 10);
    QCOMPARE(unit.mode(), SimulatedUnit::Mode::Run);
    QVERIFY(read(batch.settings.logFile).contains(QStringLiteral("SIM10")));
}

void BatchTest::diffListsWhatProgrammingWouldChange() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("unit.oru"));
    writeWholeFile(file, "ADMIN1=+420111\r\nADMIN2=+420222\r\nAnna=777\r\n");
    SimulatedUnit unit{SimOptions{}};
    {
        Batch batch(unit, BatchRun::Task::Program, file, dir.path());
        QCOMPARE(batch.run(), int(BatchRun::Done));
    }
    const QMap<int, SimEntry> programmed = unit.phonebook();
    {
        Batch batch(unit, BatchRun::Task::Diff, file, dir.path());
        QCOMPARE(batch.run(), int(BatchRun::Done));
        QVERIFY2(batch.errors.contains(QStringLiteral("would change nothing")), qPrintable(batch.errors));
    }
    // One value changed and one row added: two locations, said by meaning or, when asked, by location.
    writeWholeFile(file, "ADMIN1=+420999\r\nADMIN2=+420222\r\nAnna=777\r\nBob=888\r\n");
    for (bool byLocation : {false, true}) {
        Batch batch(unit, BatchRun::Task::Diff, file, dir.path());
        batch.settings.byLocation = byLocation;
        QCOMPARE(batch.run(), int(BatchRun::Differences));
        const QStringList said =
            byLocation ? QStringList{"location 1: holds \"+420111\" named \"ADMIN1\", would hold \"+420999\" "
                                     "named \"ADMIN1\"",
                                     "would hold \"888\" named \"Bob\""}
                       : QStringList{"ADMIN1: +420111 → +420999\n", "row added: Bob=888\n"};
        for (const QString& words : said + QStringList{"2 locations would change"})
            QVERIFY2(batch.errors.contains(words), qPrintable(batch.errors));
        QVERIFY(!batch.errors.contains(QStringLiteral("programming location")));
        QCOMPARE(unit.phonebook(), programmed);
    }
}

void BatchTest::uploadRunsAListWithoutAWindow_data() {
    QTest::addColumn<bool>("promptComes");
    QTest::addColumn<int>("status");
    QTest::newRow("every line answered") << true << int(BatchRun::Done);
    QTest::newRow("no data prompt") << false << int(BatchRun::PortFailure);
}

void BatchTest::uploadRunsAListWithoutAWindow() {
    QFETCH(bool, promptComes);
    QFETCH(int, status);
    QTemporaryDir dir;
    const QByteArray audio = everyByteValue(150000);
    writeWholeFile(dir.filePath(QStringLiteral("ring.wav")), audio);
    writeWholeFile(dir.filePath(QStringLiteral("oru.pyo")), "print(1)");
    const QString list = dir.filePath(QStringLiteral("upgrade.ifo"));
    writeWholeFile(list, "ASEND:ring.wav\r\noru.pyo\r\nRUN:oru.pyo\r\n");
    SimulatedUnit unit{SimOptions{}};
    if (!promptComes) unit.ignoreNext("AT#WSCRIPT=");
    Batch batch(unit, BatchRun::Task::Upload, list, dir.path());
    QCOMPARE(batch.run(), status);
    QVERIFY2(batch.errors.contains(QStringLiteral("uploading line 1 of 3: ASEND:ring.wav")),
             qPrintable(batch.errors));
    QCOMPARE(unit.audioFiles().value("ring.wav"), audio);
    if (promptComes) {
        QVERIFY(batch.errors.contains(QStringLiteral("upload done: 3 lines")));
        QCOMPARE(unit.scripts().value("oru.pyo"), QByteArray("print(1)"));
        QCOMPARE(unit.selectedScript(), QByteArray("oru.pyo"));
    } else {
        QVERIFY(!unit.scripts().contains("oru.pyo"));
    }
    QCOMPARE(unit.mode(), SimulatedUnit::Mode::Run);
}

void BatchTest::arguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::newRow("read on the simulator") << QStringList{"--simulator", "--read", "a.oru"} << QString();
    QTest::newRow("version") << QStringList{"--version"} << QString();
    QTest::newRow("program with every option")
        << QStringList{"--port", "/dev/ttyUSB0", "--program", "a.oru", "--stay-stopped",
                       "--log",  "a.mon",        "--timeout", "5"}
        << QString();
    QTest::newRow("read and program")
        << QStringList{"--simulator", "--read", "a", "--program", "b"} << "exclude";
    QTest::newRow("no port") << QStringList{"--read", "a.oru"} << "--read needs --port";
    QTest::newRow("no file") << QStringList{"--simulator", "--read"} << "Missing value";
    QTest::newRow("timeout of 0") << QStringList{"--simulator", "--read", "a", "--timeout", "0"}
                                  << "--timeout";
    QTest::newRow("timeout not a number")
        << QStringList{"--simulator", "--read", "a", "--timeout", "x"} << "--timeout";
    QTest::newRow("log without a task") << QStringList{"--simulator", "--log", "a.mon"} << "go with";
    QTest::newRow("simulator and port") << QStringList{"--simulator", "--port", "x"} << "exclude";
    QTest::newRow("unknown option") << QStringList{"--bogus"} << "Unknown option";
    QTest::newRow("line on ports given as arguments")
        << QStringList{"--line",       "a.oru",    "--ports", "/dev/ttyUSB0",
                       "/dev/ttyUSB1", "--report", "r.csv",   "--again"}
        << QString();
    QTest::newRow("line with a task")
        << QStringList{"--line", "a.oru", "--port", "x", "--read", "b"} << "--line goes alone";
    QTest::newRow("report without a line")
        << QStringList{"--simulator", "--report", "r.csv"} << "go with --line";
    QTest::newRow("line with a stray argument")
        << QStringList{"--line", "a.oru", "x"} << "Unexpected argument";
}

void BatchTest::linePortsAreTakenEveryWayTheyAreGiven() {
    const ProgramOptions options = ProgramOptions::parse(
        {"zuvovu", "--line", "a.oru", "--ports", "/dev/a,/dev/b", "--ports", "/dev/c", "/dev/d"});
    QVERIFY2(options.error.isEmpty(), qPrintable(options.error));
    QCOMPARE(options.ports, (QStringList{"/dev/a", "/dev/b", "/dev/c", "/dev/d"}));
    QVERIFY(!options.opensWindow());
}

void BatchTest::arguments() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    const ProgramOptions options = ProgramOptions::parse(QStringList{"zuvovu"} + arguments);
    if (error.isEmpty())
        QVERIFY2(options.error.isEmpty(), qPrintable(options.error));
    else
        QVERIFY2(options.error.contains(error), qPrintable(options.error));
}

void BatchTest::runsFromAPlainTerminal() {
    const QString buildDir = qEnvironmentVariable("ZUVOVU_BUILD_DIR");
    if (buildDir.isEmpty()) QSKIP("ZUVOVU_BUILD_DIR names the folder of zuvovu; CTest sets it");
    QTemporaryDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess zuvovu;
    zuvovu.setProcessEnvironment(environment);
    zuvovu.setWorkingDirectory(dir.path());
    const QString file = dir.filePath(QStringLiteral("unit.oru"));
    zuvovu.start(buildDir + QStringLiteral("/zuvovu"), {"--simulator", "--read", file, "--timeout", "20"});
    QVERIFY(zuvovu.waitForFinished(60000));
    QCOMPARE(zuvovu.exitCode(), 0);
    // The whole read-back reached the file, up to the unit's last entry.
    QVERIFY(read(file).startsWith(QStringLiteral("ADMIN1=+420603111222\r\n")));
    QVERIFY(read(file).endsWith(QStringLiteral("C2468C=1#4#07#18#**#0\r\n")));

    // Whatever is said on the terminal needs no display either.
    const QList<std::pair<QStringList, int>> told{{{"--read", file}, BatchRun::BadArguments},
                                                  {{"--bogus"}, BatchRun::BadArguments},
                                                  {{"--help"}, 0},
                                                  {{"--version"}, 0}};
    for (const auto& [arguments, status] : told) {
        zuvovu.start(buildDir + QStringLiteral("/zuvovu"), arguments);
        QVERIFY(zuvovu.waitForFinished(60000));
        QCOMPARE(zuvovu.exitStatus(), QProcess::NormalExit);
        QCOMPARE(zuvovu.exitCode(), status);
    }
    QCOMPARE(zuvovu.readAllStandardOutput().trimmed(), QByteArray("zuvovu 6.1"));
}

QTEST_MAIN(BatchTest)
#include "tst_batch.moc"
