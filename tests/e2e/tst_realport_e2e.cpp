#include "RecordingPacer.h"
#include "ScriptedDialogs.h"
#include "TestData.h"
#include "UnitThread.h"

#include "app/TForm1.h"
#include "comm/QtSerialPort.h"
#include "core/Pacer.h"
#include "files/PhoneBookList.h"
#include "sim/PtyFront.h"
#include "sim/SimulatedUnit.h"

#include <QDir>
#include <QFile>
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

QTEST_MAIN(RealPortFlowTest)
#include "tst_realport_e2e.moc"
