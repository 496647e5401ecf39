#include "ScriptedDialogs.h"
#include "SimAdapter.h"
#include "TestData.h"
#include "UnitThread.h"

#include "app/PortChoice.h"
#include "comm/QtSerialPort.h"
#include "core/Failure.h"
#include "sim/SimulatedUnit.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

// Limit on waiting for what a pseudo-terminal or the simulator process is sure to do; a loaded machine
// may take long, a working one returns at once.
constexpr int AnswerLimitMs = 30000;

// Reads from a port until the received text holds want, the way the receiver is notified.
QByteArray receiveUntil(SerialPort& port, const QByteArray& want) {
    QByteArray received;
    QObject::connect(&port, &SerialPort::triggerAvail, &port, [&port, &received](quint16 count) {
        for (int i = 0; i < count; ++i)
            received.append(static_cast<char>(port.readChar()));
    });
    [[maybe_unused]] const bool arrived =
        QTest::qWaitFor([&] { return received.contains(want); }, AnswerLimitMs);
    QObject::disconnect(&port, &SerialPort::triggerAvail, &port, nullptr);
    return received;
}

} // namespace

class SerialPortTest : public QObject {
    Q_OBJECT
private slots:
    void portDialogOffersTheSimulatedUnitFirst();
    void cancellingThePortChoiceFailsTheSend_data();
    void cancellingThePortChoiceFailsTheSend();
    void dtrSetBeforeTheChoiceIsApplied();
    void talksToTheUnitOverAPseudoTerminal();
    void lostDeviceIsOpenedAgainWhenItsPathIsBack();
    void closingLetsWhatIsQueuedLeave();
    void aHandlerWaitingInAnEventLoopIsToldOfEachByteOnce();
};

void SerialPortTest::portDialogOffersTheSimulatedUnitFirst() {
    ScriptedDialogs dialogs;
    dialogs.portAnswers << std::nullopt;
    PortChoice port(dialogs);
    QVERIFY_THROWS_EXCEPTION(Failure, port.send("AT\r\n"));
    QCOMPARE(dialogs.portChoices.value(0), PortChoice::SimulatedUnitChoice);
}

void SerialPortTest::cancellingThePortChoiceFailsTheSend_data() {
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::newRow("cancel") << std::optional<QString>();
    QTest::newRow("OK with nothing chosen") << std::optional<QString>(QStringLiteral("  "));
}

void SerialPortTest::cancellingThePortChoiceFailsTheSend() {
    QFETCH(std::optional<QString>, answer);
    ScriptedDialogs dialogs;
    dialogs.portAnswers << answer << std::optional<QString>(PortChoice::SimulatedUnitChoice);
    PortChoice port(dialogs);
    try {
        port.send("ATE0\r\n");
        QFAIL("the send went through without a port");
    } catch (const Failure& failure) {
        QCOMPARE(failure.text(), QStringLiteral("No serial port was chosen."));
    }
    QVERIFY(!port.isChosen());
    // The next send asks again.
    port.send("ATE0\r\n");
    QVERIFY(port.isChosen());
    QVERIFY(port.simulatedUnit() != nullptr);
    QVERIFY(dialogs.problems().isEmpty());
}

void SerialPortTest::dtrSetBeforeTheChoiceIsApplied() {
    ScriptedDialogs dialogs;
    PortChoice port(dialogs);
    port.setDtr(true);
    port.chooseSimulator();
    QVERIFY(port.dtr());
    QVERIFY(port.simulatedUnit()->dtr());
}

void SerialPortTest::talksToTheUnitOverAPseudoTerminal() {
    if (qEnvironmentVariableIsEmpty("ZUVOVU_BUILD_DIR"))
        QSKIP("ZUVOVU_BUILD_DIR names the folder of zuvovu-sim; CTest sets it");
    const SimAdapter adapter{AnswerLimitMs};
    QProcess sim;
    QVERIFY(adapter.plugIn(sim));

    QtSerialPort port;
    QSignalSpy lost(&port, &SerialPort::lost);
    QCOMPARE(port.outputFree(), SerialPort::OutputBufferSize);
    port.choose(adapter.path);
    port.setDtr(true);
    // Two sends in a row go out in order, with nothing between them.
    port.send("ATE");
    port.send("0\r\n");
    QVERIFY(port.isOpen());
    QVERIFY(port.dtr());
    QVERIFY(receiveUntil(port, "OK\r\n").contains("OK"));
    port.send("AT+CGMI\r\n");
    QVERIFY(receiveUntil(port, "Telit\r\n").contains("Telit"));
    QVERIFY_THROWS_EXCEPTION(Failure, port.send(QByteArray(SerialPort::OutputBufferSize + 1, 'x')));

    // The device vanishes: reported once, closed, and no longer chosen.
    QVERIFY(adapter.unplug(sim));
    QTRY_COMPARE_WITH_TIMEOUT(lost.size(), 1, AnswerLimitMs);
    QTest::qWait(100);
    QCOMPARE(lost.size(), 1);
    QVERIFY(!port.isOpen());
    QVERIFY(!port.isChosen());
}

void SerialPortTest::lostDeviceIsOpenedAgainWhenItsPathIsBack() {
    if (qEnvironmentVariableIsEmpty("ZUVOVU_BUILD_DIR"))
        QSKIP("ZUVOVU_BUILD_DIR names the folder of zuvovu-sim; CTest sets it");
    const SimAdapter adapter{AnswerLimitMs};
    QProcess first;
    QVERIFY(adapter.plugIn(first));

    ScriptedDialogs dialogs;
    PortChoice port(dialogs);
    port.chooseDevice(adapter.path);
    QSignalSpy connection(&port, &SerialPort::connectionChanged);
    QSignalSpy lost(&port, &SerialPort::lost);
    QSignalSpy back(&port, &SerialPort::back);
    port.send("AT\r\n");
    QVERIFY(receiveUntil(port, "OK\r\n").contains("OK"));

    QVERIFY(adapter.unplug(first));
    QTRY_COMPARE_WITH_TIMEOUT(lost.size(), 1, AnswerLimitMs);
    QVERIFY(!port.isOpen());
    QVERIFY(!port.isChosen());
    // Lost, the line is not opened by a send that happens to come: only connecting opens it again.
    QVERIFY_THROWS_EXCEPTION(Failure, port.send("AT\r\n"));
    QVERIFY(dialogs.portChoices.isEmpty());

    // Back under the same name: said so, and opened again without a question once connected.
    QProcess second;
    QVERIFY(adapter.plugIn(second));
    QTRY_COMPARE_WITH_TIMEOUT(back.size(), 1, AnswerLimitMs);
    QVERIFY(port.isChosen());
    port.connectLine();
    port.send("AT\r\n");
    QVERIFY(receiveUntil(port, "OK\r\n").contains("OK"));
    QVERIFY(dialogs.portChoices.isEmpty());
    QCOMPARE(connection.size(), 3);
    QCOMPARE(connection[1][0].toBool(), false);
    QCOMPARE(connection[2][0].toBool(), true);
    QVERIFY(adapter.unplug(second));
}

void SerialPortTest::closingLetsWhatIsQueuedLeave() {
    SimOptions options = SimOptions::realistic();
    options.startStopped = true;
    UnitThread unit(options);
    const QString device = QString::fromLocal8Bit(unit.startUnit());
    auto port = std::make_unique<QtSerialPort>();
    port->choose(device);
    port->send("AT#WSCRIPT=big.pyo,30000\r\n");
    QVERIFY(receiveUntil(*port, ">>>").contains(">>>"));
    const QByteArray data = everyByteValue(30000);
    port->send(data);
    // Over two seconds on the line: some of it, most on an idle machine, is still queued when the program
    // closes the port.
    QVERIFY(port->outputPending() > 0);
    port->close();
    QCOMPARE(port->outputPending(), 0);
    port.reset();

    // The unit took it all: it says so once the last byte is in.
    QtSerialPort again;
    again.choose(device);
    again.send("\r\n");
    QVERIFY(receiveUntil(again, "OK\r\n").contains("OK"));
    again.close();
    unit.stopUnit();
    QCOMPARE(unit.scripts().value("big.pyo"), data);
}

void SerialPortTest::aHandlerWaitingInAnEventLoopIsToldOfEachByteOnce() {
    SimOptions options;
    options.startStopped = true;
    UnitThread unit(options);
    QtSerialPort port;
    port.choose(QString::fromLocal8Bit(unit.startUnit()));
    QByteArray received;
    int calls = 0;
    connect(&port, &SerialPort::triggerAvail, &port, [&](quint16 count) {
        for (int i = 0; i < count; ++i)
            received.append(static_cast<char>(port.readChar()));
        // The first answer's handler waits in an event loop of its own (as a message box does) while the next
        // answer comes: that answer is still told, and each byte once.
        if (calls++ > 0) return;
        port.send("AT+CGMI\r\n");
        QTest::qWait(300);
    });
    port.send("AT\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(received.contains("Telit\r\n\r\nOK\r\n"), 5000);
    QVERIFY(calls > 1);
    // A byte announced twice is read past the end, as a 0.
    QVERIFY2(!received.contains('\0'), received.toPercentEncoding().constData());
    QCOMPARE(received.count("OK\r\n"), 2);
    port.close();
    unit.stopUnit();
}

QTEST_MAIN(SerialPortTest)
#include "tst_serialport.moc"
