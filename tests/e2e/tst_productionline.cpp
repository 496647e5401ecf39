#include "TestData.h"

#include "core/WholeFile.h"
#include "sim/PtyFront.h"
#include "sim/SimulatedUnit.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <csignal>
#include <memory>

// The production line as a bench runs it: the real executable serving simulated units on pseudo-terminals
// at the same time, ended by Ctrl+C. Judged by the report's records, the exit status, what each unit
// received last and what it holds afterwards.
class ProductionLineTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void threeUnitsOneRefusingOneUnplugged();
    void ctrlCStopsTheUnitsInFlightCleanly();
    void aUnitDoneInThisRunIsLeftAlone();
    void aFileNoUnitCouldTakeTouchesNoUnit();

private:
    // Starts the line on the units' adapters with the report given; "--timeout 5" keeps a quiet line short.
    void startLine(const QString& report);
    // The i-th unit's adapter as a udev name stands for one, a link of the test's own to its terminal:
    // removing the link is the unplug, so a terminal number freed meanwhile and taken by another program
    // never passes for the adapter.
    QString adapter(int i) const { return m_dir->filePath(QStringLiteral("ttyUNIT%1").arg(i)); }
    // The report's records once it holds count of them.
    QList<QJsonObject> records(const QString& report, int count);
    // Ctrl+C, then the line's exit status.
    int interruptLine();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::vector<std::unique_ptr<SimulatedUnit>> m_units;
    std::vector<std::unique_ptr<PtyFront>> m_fronts;
    QStringList m_received[3];
    std::unique_ptr<QProcess> m_line;
    QByteArray m_said;
};

namespace {

// A unit waiting stopped (DTR does not cross a pseudo-terminal) with 20 used locations of 40.
SimOptions unitOptions(int index, bool realPace) {
    SimOptions options = SimOptions::realistic();
    if (!realPace) options = options.instant();
    options.busyPhonebookCommands = 0;
    options.startStopped = true;
    options.capacity = 40;
    for (int i = 1; i <= 20; ++i)
        options.phonebook[i] = {QByteArray::number(600000000 + i), "Old" + QByteArray::number(i)};
    options.imei = "35693800000000" + QByteArray::number(index);
    options.ownNumber = "+42077700000" + QByteArray::number(index);
    return options;
}

bool holdsNew(const SimulatedUnit& unit) {
    const QMap<int, SimEntry>& book = unit.phonebook();
    for (const SimEntry& held : book)
        if (held.name.startsWith("Old")) return false;
    return std::find(book.begin(), book.end(), SimEntry{"10", "New10"}) != book.end();
}

} // namespace

void ProductionLineTest::initTestCase() {
    if (qEnvironmentVariableIsEmpty("ZUVOVU_BUILD_DIR"))
        QSKIP("ZUVOVU_BUILD_DIR names the folder of zuvovu; CTest sets it");
}

void ProductionLineTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QByteArray rows;
    for (int i = 1; i <= 10; ++i)
        rows += "New" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\r\n";
    writeFile(m_dir->filePath(QStringLiteral("new.oru")), "ADMIN1=+420999\r\n" + rows);
    m_line.reset();
    m_fronts.clear();
    m_units.clear();
    for (QStringList& received : m_received)
        received.clear();
    m_said.clear();
}

void ProductionLineTest::startLine(const QString& report) {
    QStringList devices;
    for (int i = 0; i < int(m_fronts.size()); ++i) {
        QVERIFY(QFile::link(QString::fromLocal8Bit(m_fronts[i]->devicePath()), adapter(i)));
        devices << adapter(i);
    }
    m_line = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dir->path());
    m_line->setProcessEnvironment(environment);
    connect(m_line.get(), &QProcess::readyReadStandardError, this,
            [this] { m_said += m_line->readAllStandardError(); });
    m_line->start(qEnvironmentVariable("ZUVOVU_BUILD_DIR") + QStringLiteral("/zuvovu"),
                  {"--line", m_dir->filePath(QStringLiteral("new.oru")), "--ports",
                   devices.join(QLatin1Char(',')), "--report", m_dir->filePath(report), "--timeout", "5"});
    QVERIFY(m_line->waitForStarted());
}

QList<QJsonObject> ProductionLineTest::records(const QString& report, int count) {
    const QString path = m_dir->filePath(report);
    const auto lines = [&path] {
        QByteArrayList lines;
        try {
            lines = readWholeFile(path).split('\n');
        } catch (const std::exception&) {
        }
        lines.removeAll(QByteArray());
        return lines;
    };
    const bool csv = report.endsWith(QLatin1String(".csv"));
    // Those missing fail the caller's comparisons, with what the line said.
    if (!QTest::qWaitFor([&] { return lines().size() >= count + (csv ? 1 : 0); }, 90000))
        qWarning("%s", m_said.constData());
    QList<QJsonObject> found;
    QByteArrayList all = lines();
    if (!csv) {
        for (const QByteArray& line : all)
            found << QJsonDocument::fromJson(line).object();
        return found;
    }
    const QByteArrayList header = all.takeFirst().split(',');
    for (const QByteArray& line : all) {
        // The test's values hold no comma, but a reason may: it is the last field.
        const QByteArrayList fields = line.split(',');
        QJsonObject record;
        for (qsizetype i = 0; i < header.size(); ++i)
            record.insert(QString::fromLatin1(header[i]), i + 1 < header.size()
                                                              ? QString::fromUtf8(fields.value(i))
                                                              : QString::fromUtf8(fields.mid(i).join(',')));
        found << record;
    }
    return found;
}

int ProductionLineTest::interruptLine() {
    ::kill(static_cast<pid_t>(m_line->processId()), SIGINT);
    if (!m_line->waitForFinished(60000)) return -1;
    m_said += m_line->readAllStandardError();
    // What the line's runs sent last is read by the units once it is through the terminals: what must come
    // is waited for, and what must not has this long to show.
    QTest::qWait(300);
    return m_line->exitStatus() == QProcess::NormalExit ? m_line->exitCode() : -1;
}

void ProductionLineTest::threeUnitsOneRefusingOneUnplugged() {
    for (int i = 0; i < 3; ++i) {
        m_units.push_back(std::make_unique<SimulatedUnit>(unitOptions(i + 1, false)));
        m_fronts.push_back(std::make_unique<PtyFront>(*m_units.back()));
        connect(m_units.back().get(), &SimulatedUnit::executed, this, [this, i](const QByteArray& line) {
            m_received[i] << QString::fromLatin1(line);
            const qsizetype writes = m_received[i].filter(QStringLiteral("AT+CPBW=")).size();
            // The third unit's adapter is pulled at its fifth write, once that answer is out.
            if (i == 2 && line.startsWith("AT+CPBW=") && writes == 5)
                QTimer::singleShot(100, this, [this] {
                    QFile::remove(adapter(2));
                    m_fronts[2].reset();
                });
        });
    }
    // The second unit refuses its third write.
    m_units[1]->failNext("AT+CPBW=3,", "+CME ERROR: 21");
    startLine(QStringLiteral("report.csv"));

    const QList<QJsonObject> found = records(QStringLiteral("report.csv"), 3);
    QMap<QString, QJsonObject> byImei;
    for (const QJsonObject& record : found)
        byImei.insert(record.value(QStringLiteral("imei")).toString(), record);
    QCOMPARE(byImei.size(), 3);
    const QJsonObject done = byImei.value(QStringLiteral("356938000000001"));
    QCOMPARE(done.value(QStringLiteral("result")).toString(), QStringLiteral("done"));
    QCOMPARE(done.value(QStringLiteral("sim_number")).toString(), QStringLiteral("+420777000001"));
    QCOMPARE(done.value(QStringLiteral("differences")).toString(), QStringLiteral("0"));
    QVERIFY(done.value(QStringLiteral("written")).toString().toInt() >= 11);
    QVERIFY(QFile::exists(done.value(QStringLiteral("backup")).toString()));
    const QJsonObject refused = byImei.value(QStringLiteral("356938000000002"));
    QCOMPARE(refused.value(QStringLiteral("result")).toString(), QStringLiteral("failed"));
    QVERIFY2(refused.value(QStringLiteral("reason"))
                 .toString()
                 .contains(QLatin1String("Location 3 was not written")),
             qPrintable(refused.value(QStringLiteral("reason")).toString()));
    const QJsonObject unplugged = byImei.value(QStringLiteral("356938000000003"));
    QCOMPARE(unplugged.value(QStringLiteral("result")).toString(), QStringLiteral("failed"));
    QVERIFY2(unplugged.value(QStringLiteral("reason")).toString().contains(QLatin1String("lost")),
             qPrintable(unplugged.value(QStringLiteral("reason")).toString()));
    // Each unit's backup is its own.
    QVERIFY(done.value(QStringLiteral("backup")) != refused.value(QStringLiteral("backup")));

    QCOMPARE(interruptLine(), 1);
    QVERIFY2(m_said.contains("1 done, 2 failed, 0 unfinished"), m_said.constData());
    QVERIFY(holdsNew(*m_units[0]));
    QVERIFY(!holdsNew(*m_units[1]));
    QVERIFY(!holdsNew(*m_units[2]));
    // Served units run again; the unplugged one was not reached.
    for (int i = 0; i < 2; ++i) {
        QTRY_COMPARE_WITH_TIMEOUT(m_received[i].value(m_received[i].size() - 1), QStringLiteral("AT#REBOOT"),
                                  30000);
        QCOMPARE(m_units[i]->mode(), SimulatedUnit::Mode::Run);
    }
    // No unit is programmed twice: the served units stay attached and running.
    QCOMPARE(m_received[0].filter(QStringLiteral("AT+CGSN")).size(), 1);
}

void ProductionLineTest::ctrlCStopsTheUnitsInFlightCleanly() {
    int writes = 0;
    for (int i = 0; i < 2; ++i) {
        m_units.push_back(std::make_unique<SimulatedUnit>(unitOptions(i + 1, true)));
        m_fronts.push_back(std::make_unique<PtyFront>(*m_units.back()));
        connect(m_units.back().get(), &SimulatedUnit::executed, this,
                [this, i, &writes](const QByteArray& line) {
                    m_received[i] << QString::fromLatin1(line);
                    if (i == 0 && line.startsWith("AT+CPBW=") && ++writes == 5)
                        ::kill(static_cast<pid_t>(m_line->processId()), SIGINT);
                });
    }
    startLine(QStringLiteral("report.jsonl"));
    QTRY_VERIFY_WITH_TIMEOUT(m_line->state() == QProcess::NotRunning, 90000);
    m_said += m_line->readAllStandardError();
    QCOMPARE(m_line->exitCode(), 4);
    QVERIFY2(m_said.contains("0 done, 0 failed, 2 unfinished"), m_said.constData());
    const QList<QJsonObject> found = records(QStringLiteral("report.jsonl"), 2);
    for (const QJsonObject& record : found) {
        QCOMPARE(record.value(QStringLiteral("result")).toString(), QStringLiteral("interrupted"));
        // The first unit was being written: its backup was kept first.
        if (record.value(QStringLiteral("imei")).toString() == QLatin1String("356938000000001"))
            QVERIFY(!record.value(QStringLiteral("backup")).toString().isEmpty());
    }
    // What the line's runs sent last is read by the units once it is through the terminals.
    for (int i = 0; i < 2; ++i) {
        QTRY_COMPARE_WITH_TIMEOUT(m_received[i].value(m_received[i].size() - 1), QStringLiteral("AT#REBOOT"),
                                  30000);
        QCOMPARE(m_units[i]->mode(), SimulatedUnit::Mode::Run);
    }
}

void ProductionLineTest::aUnitDoneInThisRunIsLeftAlone() {
    // One unit's run as the line starts it, with the unit's identity among those done.
    m_units.push_back(std::make_unique<SimulatedUnit>(unitOptions(1, false)));
    m_fronts.push_back(std::make_unique<PtyFront>(*m_units.back()));
    connect(m_units.back().get(), &SimulatedUnit::executed, this,
            [this](const QByteArray& line) { m_received[0] << QString::fromLatin1(line); });
    const QString done = m_dir->filePath(QStringLiteral("done"));
    writeFile(done, "356938000000009\n356938000000001\n");
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dir->path());
    run.setProcessEnvironment(environment);
    run.start(qEnvironmentVariable("ZUVOVU_BUILD_DIR") + QStringLiteral("/zuvovu"),
              {"--port", QString::fromLocal8Bit(m_fronts[0]->devicePath()), "--program",
               m_dir->filePath(QStringLiteral("new.oru")), "--line-unit", done});
    QTRY_VERIFY_WITH_TIMEOUT(run.state() == QProcess::NotRunning, 60000);
    QVERIFY2(run.exitCode() == 0, run.readAllStandardError().constData());
    const QJsonObject record = QJsonDocument::fromJson(run.readAllStandardOutput().trimmed()).object();
    QCOMPARE(record.value(QStringLiteral("alreadyDone")).toBool(), true);
    QCOMPARE(record.value(QStringLiteral("imei")).toString(), QStringLiteral("356938000000001"));
    // What the run sent last is read by the unit once it is through the terminal; nothing before it wrote.
    QTRY_COMPARE_WITH_TIMEOUT(m_received[0].value(m_received[0].size() - 1), QStringLiteral("AT#REBOOT"),
                              30000);
    QCOMPARE(m_received[0].filter(QStringLiteral("AT+CPBW=")), QStringList());
}

void ProductionLineTest::aFileNoUnitCouldTakeTouchesNoUnit() {
    m_units.push_back(std::make_unique<SimulatedUnit>(unitOptions(1, false)));
    m_fronts.push_back(std::make_unique<PtyFront>(*m_units.back()));
    connect(m_units.back().get(), &SimulatedUnit::executed, this,
            [this](const QByteArray& line) { m_received[0] << QString::fromLatin1(line); });
    writeFile(m_dir->filePath(QStringLiteral("new.oru")), "ADMIN1=+420999\r\nBob=1,2\r\n");
    startLine(QStringLiteral("report.csv"));
    QTRY_VERIFY_WITH_TIMEOUT(m_line->state() == QProcess::NotRunning, 60000);
    QTest::qWait(300);
    m_said += m_line->readAllStandardError();
    QVERIFY2(m_line->exitCode() == 2, m_said.constData());
    QVERIFY2(m_said.contains("comma"), m_said.constData());
    QCOMPARE(m_received[0], QStringList());
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("report.csv"))));
}

QTEST_MAIN(ProductionLineTest)
#include "tst_productionline.moc"
