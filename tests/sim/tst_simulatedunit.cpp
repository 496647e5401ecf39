#include "SimRig.h"
#include "TestData.h"

#include "core/Failure.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

QByteArray contents(const QMap<int, SimEntry>& entries) {
    QByteArrayList texts;
    for (auto entry = entries.begin(); entry != entries.end(); ++entry)
        texts.append(QByteArray::number(entry.key()) + "=" + entry->number + "/" + entry->name);
    return texts.join(' ');
}

} // namespace

class SimulatedUnitTest : public QObject {
    Q_OBJECT
private slots:
    void dialogueInStopMode();
    void rawStreamKeepsOrderAndFraming();
    void stopAndRunOnDtr_data();
    void stopAndRunOnDtr();
    void rebootWithDtrOnStopsAgain();
    void statusLinesComeByThemselves();
    void phonebookWrite_data();
    void phonebookWrite();
    void phonebookRead_data();
    void phonebookRead();
    void upload_data();
    void upload();
    void largeUploadInPieces();
    void faultsHitOnlyTheChosenCommandOnce();
    void portAnnouncesAtMost65535AtATime();
    void unreadBytesAreAnnouncedAgain();
    void portRefusesASendBeyondItsBuffer();
    void vanishedPortFailsOnceAndComesBack();
};

void SimulatedUnitTest::dialogueInStopMode() {
    Rig rig(stopped());
    QCOMPARE(rig.play(R"(
        > AT
        < AT
        < OK
        > AT+CGMI
        < AT+CGMI
        < Telit
        < OK
        > ATE0;#SPN
        < ATE0;#SPN
        < #SPN: SIM NET
        < OK
        > AT#CGSN
        < #CGSN: 356938035643809
        < OK
        > AT+CSQ
        < +CSQ: 18,0
        < OK
        > AT+CPBR=?
        < +CPBR: (1-250),80,40
        < OK
        > AT+NONSENSE
        < ERROR
        > ATE1
        < OK
        > AT
        < AT
        < OK
    )"),
             QString());
}

void SimulatedUnitTest::rawStreamKeepsOrderAndFraming() {
    SimulatedUnit unit(stopped());
    SimulatedPort port(unit);
    RawReader reader(port);
    QSignalSpy said(&unit, &SimulatedUnit::output);
    const QByteArray garbage("\x00\xff\x1b[2J\r\x07", 7);

    port.send("AT\r\n");
    QCOMPARE(said.count(), 0);
    unit.injectGarbage(garbage);
    port.send("AT+CSQ\r\n");
    settle(port);
    QCOMPARE(reader.bytes, "AT\r\n\r\nOK\r\n" + garbage + "AT+CSQ\r\n\r\n+CSQ: 18,0\r\n\r\nOK\r\n");
}

void SimulatedUnitTest::stopAndRunOnDtr_data() {
    QTest::addColumn<bool>("lte");
    QTest::addColumn<QByteArray>("stopLines");
    QTest::addColumn<QByteArray>("afterDtrOff");
    QTest::newRow("standard stays stopped until reboot")
        << false << QByteArray("< STOP\n< [AT#SLED=1]=") << QByteArray("> AT\n< OK\n> AT#REBOOT\n> AT");
    QTest::newRow("LTE runs on once DTR is off") << true << QByteArray("< #APLAYEV: 0") << QByteArray("> AT");
}

void SimulatedUnitTest::stopAndRunOnDtr() {
    QFETCH(bool, lte);
    QFETCH(QByteArray, stopLines);
    QFETCH(QByteArray, afterDtrOff);
    SimOptions options;
    options.kind = lte ? SimKind::Lte : SimKind::Standard;
    Rig rig(options);

    QCOMPARE(rig.play("> AT"), QString());
    rig.port.setDtr(true);
    QCOMPARE(rig.play(stopLines + "\n> ATE0\n< ATE0\n< OK"), QString());
    QCOMPARE(rig.unit.mode(), SimulatedUnit::Mode::Stop);

    rig.port.setDtr(false);
    QCOMPARE(rig.play(afterDtrOff), QString());
    QCOMPARE(rig.unit.mode(), SimulatedUnit::Mode::Run);
    for (int i = 0; i < 6; ++i)
        rig.unit.tick();
    QCOMPARE(rig.play(R"(
        < +CREG: 0,1
        < #CBC: 0,412
        < +CSQ: 18,0
        < +COPS: 0,0,"SIM NET"
        < [AT#tone=i,4]=
        < +CREG: 0,1
    )"),
             QString());

    rig.port.setDtr(true);
    QCOMPARE(rig.play(stopLines), QString());
    rig.unit.tick();
    QCOMPARE(rig.play(""), QString());
}

void SimulatedUnitTest::rebootWithDtrOnStopsAgain() {
    Rig rig(stopped());
    rig.port.setDtr(true);
    QCOMPARE(rig.play(R"(
        > ATE0
        < ATE0
        < OK
        > AT#REBOOT
        < STOP
        < [AT#SLED=1]=
        > AT
        < AT
        < OK
    )"),
             QString());
}

void SimulatedUnitTest::statusLinesComeByThemselves() {
    SimOptions options;
    options.statusPeriodMs = 1;
    Rig rig(options);
    QList<QByteArray> lines;
    QTRY_VERIFY((lines += rig.transcript.takeLines()).size() >= 2);
    QCOMPARE(lines.mid(0, 2), (QList<QByteArray>{"+CREG: 0,1", "#CBC: 0,412"}));
}

void SimulatedUnitTest::phonebookWrite_data() {
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("contents");
    const QByteArray before = "1=111/A";
    QTest::newRow("bare text keeps blanks, # and commas")
        << 3 << QByteArray("AT+CPBW=3,Alarm on, door #1,,ALARM ON") << QByteArray("OK")
        << before + " 3=Alarm on, door #1/ALARM ON";
    QTest::newRow("parameter string") << 3 << QByteArray("AT+CPBW=2,4#4#0#0#1#7#2#0,,PARORU")
                                      << QByteArray("OK") << before + " 2=4#4#0#0#1#7#2#0/PARORU";
    QTest::newRow("quoted fields with type") << 3 << QByteArray(R"(AT+CPBW=2,"+420777",145,"ADMIN1")")
                                             << QByteArray("OK") << before + " 2=+420777/ADMIN1";
    QTest::newRow("quoted international number, type 145")
        << 6 << QByteArray(R"(AT+CPBW=5,"+420603111222",145,"Alice")") << QByteArray("OK")
        << before + " 5=+420603111222/Alice";
    QTest::newRow("quoted, no index takes the first free location")
        << 3 << QByteArray(R"(AT+CPBW=,"123",129,"Bob")") << QByteArray("OK") << before + " 2=123/Bob";
    QTest::newRow("quoted name keeps its comma") << 3 << QByteArray(R"(AT+CPBW=2,"123",129,"Smith, J")")
                                                 << QByteArray("OK") << before + " 2=123/Smith, J";
    QTest::newRow("bare type, quoted name")
        << 3 << QByteArray(R"(AT+CPBW=2,123,129,"Bob")") << QByteArray("OK") << before + " 2=123/Bob";
    QTest::newRow("number without name")
        << 3 << QByteArray("AT+CPBW=2,123") << QByteArray("OK") << before + " 2=123/";
    QTest::newRow("overwrites a used location")
        << 3 << QByteArray("AT+CPBW=1,9,,Z") << QByteArray("OK") << QByteArray("1=9/Z");
    QTest::newRow("no index takes the first free location")
        << 3 << QByteArray("AT+CPBW=,555,,X") << QByteArray("OK") << before + " 2=555/X";
    QTest::newRow("index alone clears") << 3 << QByteArray("AT+CPBW=1") << QByteArray("OK") << QByteArray();
    QTest::newRow("clearing a free location") << 3 << QByteArray("AT+CPBW=3") << QByteArray("OK") << before;
    QTest::newRow("full") << 1 << QByteArray("AT+CPBW=,555,,X") << QByteArray("+CME ERROR: 20") << before;
    QTest::newRow("index past capacity")
        << 3 << QByteArray("AT+CPBW=4,1,,X") << QByteArray("+CME ERROR: 21") << before;
    QTest::newRow("index zero") << 3 << QByteArray("AT+CPBW=0,1,,X") << QByteArray("+CME ERROR: 21")
                                << before;
    QTest::newRow("clearing past capacity")
        << 3 << QByteArray("AT+CPBW=4") << QByteArray("+CME ERROR: 21") << before;
    QTest::newRow("longest number") << 3 << "AT+CPBW=2," + QByteArray(80, '9') + ",,X" << QByteArray("OK")
                                    << before + " 2=" + QByteArray(80, '9') + "/X";
    QTest::newRow("number too long") << 3 << "AT+CPBW=2," + QByteArray(81, '9') + ",,X"
                                     << QByteArray("+CME ERROR: 26") << before;
    QTest::newRow("longest name") << 3 << "AT+CPBW=2,1,," + QByteArray(40, 'N') << QByteArray("OK")
                                  << before + " 2=1/" + QByteArray(40, 'N');
    QTest::newRow("name too long") << 3 << "AT+CPBW=2,1,," + QByteArray(41, 'N')
                                   << QByteArray("+CME ERROR: 24") << before;
    QTest::newRow("index not a number") << 3 << QByteArray("AT+CPBW=x,1,,X") << QByteArray("ERROR") << before;
}

void SimulatedUnitTest::phonebookWrite() {
    QFETCH(int, capacity);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, contents);
    SimOptions options = stopped();
    options.capacity = capacity;
    options.phonebook = {{1, {"111", "A"}}};
    Rig rig(options);
    QCOMPARE(rig.play("> ATE0\n< ATE0\n< OK\n> " + command + "\n< " + answer), QString());
    QCOMPARE(::contents(rig.unit.phonebook()), contents);
}

void SimulatedUnitTest::phonebookRead_data() {
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("size from the options")
        << QByteArray("AT+CPBR=?") << QByteArray("< +CPBR: (1-9),20,12\n< OK");
    QTest::newRow("used locations of a range, + gives type 145")
        << QByteArray("AT+CPBR=1,4") << QByteArray(R"(< +CPBR: 1,"+420",145,"ADMIN1"
                         < +CPBR: 3,"4#4#0",129,"PARORU"
                         < OK)");
    QTest::newRow("whole book") << QByteArray("AT+CPBR=1,9") << QByteArray(R"(< +CPBR: 1,"+420",145,"ADMIN1"
                                                                           < +CPBR: 3,"4#4#0",129,"PARORU"
                                                                           < +CPBR: 9,"on at 7",129,"ALARMON"
                                                                           < OK)");
    QTest::newRow("one location") << QByteArray("AT+CPBR=9")
                                  << QByteArray(R"(< +CPBR: 9,"on at 7",129,"ALARMON"
                                                                             < OK)");
    QTest::newRow("empty range") << QByteArray("AT+CPBR=4,8") << QByteArray("< OK");
    QTest::newRow("range past capacity") << QByteArray("AT+CPBR=1,10") << QByteArray("< +CME ERROR: 21");
    QTest::newRow("range before the size is known")
        << QByteArray("AT+CPBR=1,0") << QByteArray("< +CME ERROR: 21");
}

void SimulatedUnitTest::phonebookRead() {
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, answer);
    SimOptions options = stopped();
    options.capacity = 9;
    options.numberLength = 20;
    options.textLength = 12;
    options.phonebook = {{1, {"+420", "ADMIN1"}}, {3, {"4#4#0", "PARORU"}}, {9, {"on at 7", "ALARMON"}}};
    Rig rig(options);
    QCOMPARE(rig.play("> ATE0\n< ATE0\n< OK\n> " + command + "\n" + answer), QString());
}

void SimulatedUnitTest::upload_data() {
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("afterData");
    QTest::addColumn<bool>("audio");
    QTest::newRow("script") << QByteArray("AT#WSCRIPT=oru.pyo,") << QByteArray("< OK") << false;
    QTest::newRow("audio file") << QByteArray("AT#ASEND=ring.wav,")
                                << QByteArray("< OK\n< #ASENDEV: 0\n> AT\n< OK") << true;
}

void SimulatedUnitTest::upload() {
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, afterData);
    QFETCH(bool, audio);
    // Commands, line ends and zero bytes inside the data are data.
    const QByteArray data = QByteArray("AT+CPBW=1\r\n\0\r", 13) + everyByteValue(256) + "\n";
    SimOptions options = stopped();
    options.phonebook = {{1, {"111", "A"}}};
    Rig rig(options);
    QCOMPARE(rig.play("> ATE0\n< ATE0\n< OK\n> " + command + QByteArray::number(data.size()) + "\n< >>>"),
             QString());
    rig.port.send(data);
    QCOMPARE(rig.play(afterData), QString());
    const QByteArray name = command.mid(command.indexOf('=') + 1).chopped(1);
    QCOMPARE(audio ? rig.unit.audioFiles() : rig.unit.scripts(),
             (QMap<QByteArray, QByteArray>{{name, data}}));
    QCOMPARE(rig.unit.phonebook().size(), 1);
}

void SimulatedUnitTest::largeUploadInPieces() {
    Rig rig(stopped());
    const QByteArray data = everyByteValue(300000);
    QCOMPARE(rig.play("> ATE0\n< ATE0\n< OK\n> AT#WSCRIPT=big.pyo,300000\n< >>>"), QString());
    for (qsizetype at = 0; at < data.size(); at += SerialPort::OutputBufferSize) {
        QCOMPARE(rig.play(""), QString());
        rig.port.send(data.mid(at, SerialPort::OutputBufferSize));
    }
    QCOMPARE(rig.play("< OK\n> AT#ESCRIPT=big.pyo\n< OK"), QString());
    QCOMPARE(rig.unit.scripts().value("big.pyo"), data);
    QCOMPARE(rig.unit.selectedScript(), "big.pyo");
    QCOMPARE(rig.play("> AT#DSCRIPT=big.pyo\n< OK"), QString());
    QVERIFY(rig.unit.scripts().isEmpty());
}

void SimulatedUnitTest::faultsHitOnlyTheChosenCommandOnce() {
    Rig rig(stopped());
    rig.unit.failNext("AT+CPBW=1,", "+CME ERROR: 100");
    rig.unit.ignoreNext("AT+CSQ");
    rig.unit.dropNextWrite("AT+CPBW=2,");
    QCOMPARE(rig.play(R"(
        > ATE0
        < ATE0
        < OK
        > AT+CPBW=3,333,,C
        < OK
        > AT+CPBW=1,111,,A
        < +CME ERROR: 100
        > AT+CSQ
        > AT+CPBW=2,222,,B
        < OK
        > AT+CSQ
        < +CSQ: 18,0
        < OK
        > AT+CPBW=1,111,,A
        < OK
    )"),
             QString());
    QCOMPARE(contents(rig.unit.phonebook()), "1=111/A 3=333/C");
}

void SimulatedUnitTest::portAnnouncesAtMost65535AtATime() {
    SimulatedUnit unit(stopped());
    SimulatedPort port(unit);
    RawReader reader(port);
    const QByteArray bytes = everyByteValue(70000);
    unit.injectGarbage(bytes);
    settle(port);
    QCOMPARE(reader.counts, (QList<quint16>{65535, 4465}));
    QCOMPARE(reader.bytes, bytes);
}

void SimulatedUnitTest::unreadBytesAreAnnouncedAgain() {
    // A receiver interrupted by a failure leaves announced bytes unread; they come with the next notice.
    SimulatedUnit unit(stopped());
    SimulatedPort port(unit);
    QList<quint16> counts;
    QByteArray read;
    connect(&port, &SerialPort::triggerAvail, this, [&](quint16 count) {
        counts.append(count);
        read.append(static_cast<char>(port.readChar()));
    });
    unit.injectGarbage("abc");
    settle(port);
    unit.injectGarbage("de");
    settle(port);
    QCOMPARE(counts, (QList<quint16>{3, 4}));
    QCOMPARE(read, "ab");
}

void SimulatedUnitTest::portRefusesASendBeyondItsBuffer() {
    SimulatedUnit unit(stopped());
    SimulatedPort port(unit);
    QSignalSpy said(&unit, &SimulatedUnit::output);
    QVERIFY_THROWS_EXCEPTION(Failure,
                             port.send("AT\r\n" + QByteArray(SerialPort::OutputBufferSize - 3, '\n')));
    port.send(QByteArray(SerialPort::OutputBufferSize, '\n'));
    QCOMPARE(port.outputFree(), SerialPort::OutputBufferSize);
    settle(port);
    QCOMPARE(said.count(), 0);
}

void SimulatedUnitTest::vanishedPortFailsOnceAndComesBack() {
    Rig rig(stopped());
    rig.port.vanish();
    QVERIFY_THROWS_EXCEPTION(Failure, rig.port.send("AT\r\n"));
    QVERIFY(!rig.port.isOpen());
    rig.unit.injectGarbage("lost while closed");
    QCOMPARE(rig.play("> AT\n< AT\n< OK"), QString());
    QVERIFY(rig.port.isOpen());
}

QTEST_GUILESS_MAIN(SimulatedUnitTest)
#include "tst_simulatedunit.moc"
