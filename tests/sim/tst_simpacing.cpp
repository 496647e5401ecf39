#include "SimRig.h"
#include "TestData.h"

#include "core/Failure.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

// The unit at a real unit's pace: the line's rate each way, the module's time per listed record, and a SIM
// that is still busy when the module has just started.
class SimPacingTest : public QObject {
    Q_OBJECT
private slots:
    void listingTricklesOutRecordByRecord();
    void answersLeaveAtTheOutputRate_data();
    void answersLeaveAtTheOutputRate();
    void busySimRefusesTheFirstPhonebookCommands_data();
    void busySimRefusesTheFirstPhonebookCommands();
    void unitTakesSentBytesAtTheInputRate_data();
    void unitTakesSentBytesAtTheInputRate();
};

void SimPacingTest::listingTricklesOutRecordByRecord() {
    SimOptions options = stopped();
    options.capacity = 9;
    options.recordMs = 3;
    options.phonebook = {{1, {"+420", "ADMIN1"}}, {3, {"4#4#0", "PARORU"}}, {9, {"on at 7", "ALARMON"}}};
    Rig rig(options);
    QCOMPARE(rig.play("> ATE0\n< ATE0\n< OK"), QString());
    QSignalSpy said(&rig.unit, &SimulatedUnit::output);

    rig.port.send("AT+CPBR=1,9\r\n");
    QCoreApplication::processEvents();
    QVERIFY(said.count() <= 1);
    QCOMPARE(rig.play(R"(
        < +CPBR: 1,"+420",145,"ADMIN1"
        < +CPBR: 3,"4#4#0",129,"PARORU"
        < +CPBR: 9,"on at 7",129,"ALARMON"
        < OK
    )"),
             QString());
    QList<QByteArray> pieces;
    for (const QList<QVariant>& signal : said)
        pieces.append(signal[0].toByteArray());
    QCOMPARE(pieces, (QList<QByteArray>{"\r\n+CPBR: 1,\"+420\",145,\"ADMIN1\"\r\n",
                                        "\r\n+CPBR: 3,\"4#4#0\",129,\"PARORU\"\r\n",
                                        "\r\n+CPBR: 9,\"on at 7\",129,\"ALARMON\"\r\n", "\r\nOK\r\n"}));
}

void SimPacingTest::answersLeaveAtTheOutputRate_data() {
    QTest::addColumn<int>("rate");
    QTest::addColumn<bool>("inPieces");
    QTest::newRow("no rate: at once") << 0 << false;
    // Half a second of line time.
    QTest::newRow("20000 bytes/s: as the line carries them") << 20000 << true;
}

void SimPacingTest::answersLeaveAtTheOutputRate() {
    QFETCH(int, rate);
    QFETCH(bool, inPieces);
    SimOptions options = stopped();
    options.outputBytesPerSecond = rate;
    SimulatedUnit unit(options);
    SimulatedPort port(unit);
    RawReader reader(port);
    QSignalSpy said(&unit, &SimulatedUnit::output);
    const QByteArray bytes = everyByteValue(10000);

    unit.injectGarbage(bytes);
    port.send("AT\r\n");
    settle(port);
    QCOMPARE(reader.bytes, bytes + "AT\r\n\r\nOK\r\n");
    // At once, the unit says the bytes, the echo and the answer in three pieces.
    QCOMPARE(said.count() > 3, inPieces);
}

void SimPacingTest::busySimRefusesTheFirstPhonebookCommands_data() {
    QTest::addColumn<int>("busyFor");
    QTest::addColumn<QByteArray>("script");
    QTest::newRow("size query, other commands answered") << 1 << QByteArray(R"(
        > AT+CSQ
        < +CSQ: 18,0
        < OK
        > AT+CPBR=?
        < +CME ERROR: 14
        > AT+CPBR=?
        < +CPBR: (1-9),80,40
        < OK
    )");
    QTest::newRow("read") << 1 << QByteArray(R"(
        > AT+CPBR=1,9
        < +CME ERROR: 14
        > AT+CPBR=1,9
        < +CPBR: 1,"111",129,"A"
        < OK
    )");
    QTest::newRow("two commands, a write among them stores nothing") << 2 << QByteArray(R"(
        > AT+CPBW=2,222,,B
        < +CME ERROR: 14
        > AT+CPBR=1,9
        < +CME ERROR: 14
        > AT+CPBR=1,9
        < +CPBR: 1,"111",129,"A"
        < OK
    )");
    QTest::newRow("in words") << 1 << QByteArray(R"(
        > AT+CMEE=2
        < OK
        > AT+CPBW=2,222,,B
        < +CME ERROR: SIM busy
    )");
    QTest::newRow("plain error") << 1 << QByteArray(R"(
        > AT+CMEE=0
        < OK
        > AT+CPBR=?
        < ERROR
        > AT+CPBR=?
        < +CPBR: (1-9),80,40
        < OK
    )");
}

void SimPacingTest::busySimRefusesTheFirstPhonebookCommands() {
    QFETCH(int, busyFor);
    QFETCH(QByteArray, script);
    SimOptions options = stopped();
    options.capacity = 9;
    options.phonebook = {{1, {"111", "A"}}};
    options.busyPhonebookCommands = busyFor;
    Rig rig(options);
    QCOMPARE(rig.play("> ATE0\n< ATE0\n< OK\n" + script), QString());
    QCOMPARE(rig.unit.phonebook(), options.phonebook);
}

void SimPacingTest::unitTakesSentBytesAtTheInputRate_data() {
    QTest::addColumn<bool>("sleeps");
    QTest::newRow("event loop runs while the buffer drains") << false;
    // As the window's upload does: no timer fires, the line drains all the same.
    QTest::newRow("caller blocks in plain sleeps") << true;
}

void SimPacingTest::unitTakesSentBytesAtTheInputRate() {
    QFETCH(bool, sleeps);
    constexpr int Buffer = SerialPort::OutputBufferSize;
    SimOptions options = stopped();
    options.inputBytesPerSecond = 200000;
    Rig rig(options);
    const QByteArray data = everyByteValue(2 * Buffer + 1000);
    QCOMPARE(
        rig.play("> ATE0\n< ATE0\n< OK\n> AT#WSCRIPT=big.pyo," + QByteArray::number(data.size()) + "\n< >>>"),
        QString());
    // Waits until the unit has taken everything sent; false when it stops taking.
    const auto waitUntilDrained = [&] {
        if (!sleeps) {
            settle(rig.port);
            return rig.port.outputFree() == Buffer;
        }
        for (int polls = 0; rig.port.outputFree() < Buffer; ++polls) {
            if (polls == 1000) return false;
            QThread::msleep(20);
        }
        return true;
    };

    for (qsizetype at = 0; at < data.size(); at += Buffer) {
        QVERIFY(waitUntilDrained());
        rig.port.send(data.mid(at, Buffer));
        // What the unit has not taken yet fills the buffer, and nothing beyond its room is taken.
        QVERIFY(rig.port.outputFree() < Buffer);
        if (at == 0) {
            QVERIFY_THROWS_EXCEPTION(Failure, rig.port.send(QByteArray(Buffer, 'x')));
        }
    }
    QVERIFY(waitUntilDrained());
    QCOMPARE(rig.unit.scripts().value("big.pyo"), data);
    QCOMPARE(rig.play("< OK"), QString());
}

QTEST_GUILESS_MAIN(SimPacingTest)
#include "tst_simpacing.moc"
