#include "RecordingPacer.h"
#include "ScriptedDialogs.h"
#include "SimAdapter.h"
#include "TestData.h"
#include "UnitThread.h"

#include "app/PortChoice.h"
#include "app/TForm1.h"
#include "comm/QtSerialPort.h"
#include "core/Pacer.h"
#include "files/PhoneBookList.h"
#include "sim/PtyFront.h"
#include "sim/SimulatedUnit.h"
#include "widgets/StatusPanels.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The dialogue's phases over the real serial port class, on a pseudo-terminal to the simulated unit: the
// phase ends with the unit's answers as they trickle in, not when a kind test double has said everything.
class RealPortFlowTest : public QObject {
    Q_OBJECT

    QString m_folder;

private slots:
    void init() { m_folder = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_folder); }
    void readBackAndUploadEndWithTheUnitsAnswers();
    void largeFilesArriveWhole_data();
    void largeFilesArriveWhole();
    void aPortLostAndBackIsGreetedAgain();
};

namespace {

using Phase = Dialogue::Phase;
using Outcome = Dialogue::Outcome;

// A stopped unit with a full SIM, answering with a real unit's small delays.
SimOptions fullUnit() {
    SimOptions options = SimOptions::realistic();
    options.startStopped = true;
    options.capacity = 250;
    for (int i = 1; i <= 250; ++i)
        options.phonebook[i] = {QByteArray::number(600000000 + i), "Row" + QByteArray::number(i)};
    return options;
}

} // namespace

void RealPortFlowTest::readBackAndUploadEndWithTheUnitsAnswers() {
    QTemporaryDir dir;
    SimulatedUnit unit(fullUnit());
    PtyFront front(unit);
    ScriptedDialogs dialogs;
    QtSerialPort port;
    port.choose(QString::fromLocal8Bit(front.devicePath()));
    RecordingPacer pacer;
    TForm1 form(port, pacer, dialogs, QStringLiteral("zuvovu"), dir.filePath(QStringLiteral("zuvovu.ini")));
    QSignalSpy ended(&form.dialogue, &Dialogue::ended);
    const auto lastEnded = [&](Phase phase) {
        return !ended.isEmpty() && ended.last()[0].value<Phase>() == phase;
    };

    form.run([&] { form.FormCreate(); });
    // DTR does not cross a pseudo-terminal: the unit stays stopped and Load finds it so.
    form.run([&] { form.StopORUClick(); });
    form.run([&] { form.LoadORUClick(); });
    QTRY_VERIFY_WITH_TIMEOUT(lastEnded(Phase::ReadingBack), 30000);
    QCOMPARE(ended.last()[1].value<Outcome>(), Outcome::Done);
    QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('\n')));
    QCOMPARE(form.PhoneBook1->lineCount(), 250);
    QCOMPARE(form.PhoneBook1->line(249), QByteArray("Row250=600000250"));
    QCOMPARE(form.dialogue.done(), 250);

    QDir::setCurrent(dir.path());
    QFile script(QStringLiteral("oru.pyo"));
    QVERIFY(script.open(QIODevice::WriteOnly) && script.write(QByteArray(5000, 'x')) == 5000);
    script.close();
    form.List->setPlainText(QStringLiteral("oru.pyo\nRUN:oru.pyo"));
    form.run([&] { form.UpgradeClick(); });
    QTRY_VERIFY_WITH_TIMEOUT(lastEnded(Phase::Uploading), 30000);
    QCOMPARE(ended.last()[1].value<Outcome>(), Outcome::Done);
    QCOMPARE(ended.last()[2].toString(), QStringLiteral("2 lines"));
    QCOMPARE(unit.scripts().value("oru.pyo"), QByteArray(5000, 'x'));
    QCOMPARE(unit.selectedScript(), QByteArray("oru.pyo"));
    QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('\n')));
}

void RealPortFlowTest::largeFilesArriveWhole_data() {
    QTest::addColumn<int>("bytesPerSecond");
    QTest::newRow("a unit reading as fast as it can") << 0;
    QTest::newRow("a unit reading at the line's rate") << SerialPort::LineBytesPerSecond;
}

void RealPortFlowTest::largeFilesArriveWhole() {
    QFETCH(int, bytesPerSecond);
    SimOptions options;
    options.startStopped = true;
    options.inputBytesPerSecond = bytesPerSecond;
    UnitThread unit(options);
    const QByteArray device = unit.startUnit();

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    const QMap<QByteArray, QByteArray> files{{"just.pyo", everyByteValue(64001)},
                                             {"ring.wav", everyByteValue(150000)},
                                             {"big.pyo", everyByteValue(1024 * 1024)}};
    for (auto file = files.begin(); file != files.end(); ++file) {
        QFile out(QString::fromLatin1(file.key()));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file.value()) == file.value().size());
    }
    ScriptedDialogs dialogs;
    QtSerialPort port;
    port.choose(QString::fromLocal8Bit(device));
    // The pacing waits are real: the unit drains the line meanwhile, as a real one does.
    RealPacer pacer;
    TForm1 form(port, pacer, dialogs, QStringLiteral("zuvovu"), dir.filePath(QStringLiteral("zuvovu.ini")));
    QSignalSpy ended(&form.dialogue, &Dialogue::ended);
    // The line is open, and the unit's answer to that has come, before the list goes.
    port.send("AT\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(form.Monitor->lines().contains("OK"), 10000);
    form.List->setPlainText(QStringLiteral("just.pyo\nASEND:ring.wav\nbig.pyo"));
    form.run([&] { form.UpgradeClick(); });
    QTRY_VERIFY_WITH_TIMEOUT(!ended.isEmpty(), 240000);
    QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('\n')));
    QCOMPARE(ended.last()[1].value<Outcome>(), Outcome::Done);

    unit.stopUnit();
    QCOMPARE(unit.scripts().value("just.pyo"), files["just.pyo"]);
    QCOMPARE(unit.audioFiles().value("ring.wav"), files["ring.wav"]);
    QCOMPARE(unit.scripts().value("big.pyo"), files["big.pyo"]);
}

// The adapter is unplugged and plugged in again, and the unit behind it has restarted with its echo on: the
// window greets it as at start-up, so that the echo is off again before anything is read. The adapter is a
// link of the test's own to the simulator's pseudo-terminal, as a udev name is: removing it is the unplug,
// making it again the plug-in, so a terminal number freed meanwhile and taken by another program never
// passes for the adapter.
void RealPortFlowTest::aPortLostAndBackIsGreetedAgain() {
    if (qEnvironmentVariableIsEmpty("ZUVOVU_BUILD_DIR"))
        QSKIP("ZUVOVU_BUILD_DIR names the folder of zuvovu-sim; CTest sets it");
    // What the simulator process and the window are sure to do may take long on a loaded machine.
    constexpr int LimitMs = 30000;
    QTemporaryDir dir;
    const SimAdapter adapter{LimitMs};
    QProcess first;
    QVERIFY(adapter.plugIn(first));
    ScriptedDialogs dialogs;
    PortChoice port(dialogs);
    port.chooseDevice(adapter.path);
    RecordingPacer pacer;
    TForm1 form(port, pacer, dialogs, QStringLiteral("zuvovu"), dir.filePath(QStringLiteral("zuvovu.ini")));
    QSignalSpy handled(&form, &TForm1::lineHandled);
    const auto answered = [&](const QByteArray& line) {
        return std::any_of(handled.begin(), handled.end(),
                           [&](const QList<QVariant>& args) { return args[0].toByteArray() == line; });
    };
    form.run([&] { form.FormCreate(); });
    QTRY_VERIFY_WITH_TIMEOUT(answered("Telit"), LimitMs);
    QTRY_VERIFY_WITH_TIMEOUT(form.LoadORU->isEnabled(), LimitMs);

    QVERIFY(adapter.unplug(first));
    QTRY_COMPARE_WITH_TIMEOUT(dialogs.errors.size(), 1, LimitMs);
    QVERIFY2(dialogs.errors[0].contains(QStringLiteral("was lost")), qPrintable(dialogs.errors[0]));
    QVERIFY(form.Monitor->lines().contains("was lost"));
    for (QPushButton* button : {form.RunORU, form.StopORU, form.SaveORU, form.LoadORU})
        QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
    QCOMPARE(form.StatusBar1->panelText(TForm1::PortPanel), QStringLiteral(" not connected"));

    handled.clear();
    QProcess second;
    QVERIFY(adapter.plugIn(second));
    QTRY_VERIFY_WITH_TIMEOUT(answered("Telit"), LimitMs);
    // The restarted unit echoed the greeting's first command, and nothing after it.
    QVERIFY(answered("ATE0"));
    QVERIFY(!answered("AT+CGMI"));
    QVERIFY(form.Monitor->lines().contains("is back: opened again"));
    QTRY_VERIFY_WITH_TIMEOUT(form.LoadORU->isEnabled() && form.StopORU->isEnabled(), LimitMs);

    // The unit was stopped before and does not report stopping: it is asked, and read; no echo is taken for
    // an answer.
    QSignalSpy ended(&form.dialogue, &Dialogue::ended);
    form.dialogue.stopAnswerMs = 2000;
    form.run([&] { form.StopORUClick(); });
    QTRY_VERIFY_WITH_TIMEOUT(!ended.isEmpty() && ended.last()[0].value<Phase>() == Phase::ReadingBack,
                             LimitMs);
    QCOMPARE(ended.last()[1].value<Outcome>(), Outcome::Done);
    QCOMPARE(dialogs.errors.size(), 1);
    QVERIFY2(dialogs.problems().isEmpty(), qPrintable(dialogs.problems()));
    QVERIFY(adapter.unplug(second));
}

QTEST_MAIN(RealPortFlowTest)
#include "tst_realport_e2e.moc"
