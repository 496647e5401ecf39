#include "SimRig.h"

#include <QtTest>

// The module's commands that ordinary AT phone tools use, beside the tool's own dialogue.
class SimModemTest : public QObject {
    Q_OBJECT
private slots:
    void generalCommands_data();
    void generalCommands();
    void restartForgetsSettingsAndReadsTheSimAgain();
    void clockRunsFromWhereItWasSet();
};

void SimModemTest::generalCommands_data() {
    QTest::addColumn<QByteArray>("script");
    QTest::newRow("identification") << QByteArray(R"(
        > ATI
        < ZV-2G
        < Revision: 2.04.007
        < OK
        > AT+CGMM
        < ZV-2G
        < OK
        > at+cgmr
        < 2.04.007
        < OK
        > AT+CGSN
        < 356938035643809
        < OK
        > AT#CGSN
        < #CGSN: 356938035643809
        < OK
    )");
    QTest::newRow("functionality") << QByteArray(R"(
        > AT+CFUN?
        < +CFUN: 1
        < OK
        > AT+CFUN=1
        < OK
    )");
    QTest::newRow("character sets") << QByteArray(R"(
        > AT+CSCS?
        < +CSCS: "IRA"
        < OK
        > AT+CSCS=?
        < +CSCS: ("IRA","GSM")
        < OK
        > AT+CSCS="GSM"
        < OK
        > AT+CSCS?
        < +CSCS: "GSM"
        < OK
        > AT+CSCS="UCS2"
        < ERROR
        > AT+CSCS?
        < +CSCS: "GSM"
        < OK
    )");
    QTest::newRow("the SIM is the only phonebook storage") << QByteArray(R"(
        > AT+CPBS=?
        < +CPBS: ("SM")
        < OK
        > AT+CPBS="SM"
        < OK
        > AT+CPBS?
        < +CPBS: "SM",2,9
        < OK
        > AT+CPBS="ME"
        < ERROR
        > AT+CPBW=?
        < +CPBW: (1-9),80,(129,145),40
        < OK
    )");
    QTest::newRow("error numbers by default") << QByteArray(R"(
        > AT+CMEE=?
        < +CMEE: (0-2)
        < OK
        > AT+CMEE?
        < +CMEE: 1
        < OK
        > AT+CPBR=10
        < +CME ERROR: 21
    )");
    QTest::newRow("error texts") << QByteArray(R"(
        > AT+CMEE=2
        < OK
        > AT+CMEE?
        < +CMEE: 2
        < OK
        > AT+CPBR=10
        < +CME ERROR: invalid index
        > AT+CPBW=1,1,,12345678901234567890123456789012345678901
        < +CME ERROR: text string too long
        > AT+NONSENSE
        < ERROR
    )");
    QTest::newRow("plain errors") << QByteArray(R"(
        > AT+CMEE=0
        < OK
        > AT+CPBR=10
        < ERROR
        > AT+CPBR=1,9
        < +CPBR: 1,"111",129,"A"
        < +CPBR: 4,"+420",145,"ADMIN1"
        < OK
    )");
    QTest::newRow("clock settings that are none") << QByteArray(R"(
        > AT+CCLK=?
        < OK
        > AT+CCLK="24/13/01,12:00:00+08"
        < ERROR
        > AT+CCLK="24/05/01,12:00+08"
        < ERROR
        > AT+CCLK=24/05/01
        < ERROR
    )");
    QTest::newRow("error form out of range") << QByteArray(R"(
        > AT+CMEE=3
        < ERROR
        > AT+CMEE?
        < +CMEE: 1
        < OK
    )");
}

void SimModemTest::generalCommands() {
    QFETCH(QByteArray, script);
    SimOptions options = stopped();
    options.capacity = 9;
    options.phonebook = {{1, {"111", "A"}}, {4, {"+420", "ADMIN1"}}};
    Rig rig(options);
    QCOMPARE(rig.play("> ATE0\n< ATE0\n< OK\n" + script), QString());
}

void SimModemTest::restartForgetsSettingsAndReadsTheSimAgain() {
    SimOptions options = stopped();
    options.capacity = 9;
    options.busyPhonebookCommands = 1;
    Rig rig(options);
    rig.port.setDtr(true);
    QCOMPARE(rig.play(R"(
        > ATE0
        < ATE0
        < OK
        > AT+CMEE=2
        < OK
        > AT+CSCS="GSM"
        < OK
        > AT+CPBR=?
        < +CME ERROR: SIM busy
        > AT+CPBR=?
        < +CPBR: (1-9),80,40
        < OK
        > AT#REBOOT
        < STOP
        < [AT#SLED=1]=
        > AT+CPBR=?
        < AT+CPBR=?
        < +CME ERROR: 14
        > AT+CSCS?
        < AT+CSCS?
        < +CSCS: "IRA"
        < OK
        > AT+CPBR=?
        < AT+CPBR=?
        < +CPBR: (1-9),80,40
        < OK
    )"),
             QString());
}

void SimModemTest::clockRunsFromWhereItWasSet() {
    SimulatedUnit unit(stopped());
    SimulatedPort port(unit);
    RawReader reader(port);
    port.send("ATE0\r\nAT+CCLK=\"24/02/29,23:59:58-04\"\r\nAT+CCLK?\r\n");
    QTRY_VERIFY(reader.bytes.count("OK\r\n") == 3);
    // A second may have passed meanwhile; the zone stays as it was set.
    const QByteArray said = reader.bytes.mid(reader.bytes.indexOf("+CCLK:"));
    QVERIFY2(said.startsWith("+CCLK: \"24/02/29,23:59:5") || said.startsWith("+CCLK: \"24/03/01,00:00:0"),
             said.constData());
    QVERIFY2(said.contains("-04\"\r\n"), said.constData());
}

QTEST_GUILESS_MAIN(SimModemTest)
#include "tst_simmodem.moc"
