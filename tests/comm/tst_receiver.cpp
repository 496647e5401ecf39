#include "FormFixture.h"
#include "TestData.h"

#include "files/PhoneBookList.h"
#include "widgets/Gauge.h"
#include "widgets/Led.h"
#include "widgets/Picture.h"
#include "widgets/StatusPanels.h"

#include <QtTest>

// What the module says, against what the program sends, waits for and logs.
class ReceiverTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void dispatch_data();
    void dispatch();
    void stopEndsTheWaitAndShowsStop();
    void batteryLineShowsTheVoltage();
    void sizeBelowOneLocationIsRefused_data();
    void sizeBelowOneLocationIsRefused();
    void signalColours_data();
    void signalColours();
    void statusLinesMoveThePictures();
    void operatorWithoutColonShowsTheWholeLine();
    void okStartsAPendingReRead();
    void lineFramingAndByteClasses();
    void linesSplitAcrossNotifications();
    void aFailedLineDoesNotLoseTheLinesAfterIt();
    void aLineThatNeverEndsIsCapped();
    void uploadPrompt_data();
    void uploadPrompt();
    void ledBlinksOnReceive();
    void timeStampsCarryNoZone_data();
    void timeStampsCarryNoZone();
    void eachSecondHasItsStamp();
};

namespace {

// A window after start-up, with its start-up traffic and log forgotten.
struct Fixture : FormFixture {
    Fixture() { forgetStartup(); }
};

QStringList untimed(const QStringList& lines) {
    QStringList result;
    for (const QString& line : lines)
        if (!line.startsWith(QLatin1Char('['))) result << line;
    return result;
}

} // namespace

void ReceiverTest::dispatch_data() {
    // The command out before the lines, if any.
    QTest::addColumn<QByteArray>("asked");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<bool>("dtr");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QList<int>>("waits");
    QTest::addColumn<QStringList>("logged");

    QTest::newRow("OK with nothing running")
        << QByteArray() << QByteArrayList{"OK"} << true << QByteArrayList{} << QList<int>{} << QStringList{};
    QTest::newRow("OK with a trailing blank is no OK")
        << QByteArray() << QByteArrayList{"OK "} << true << QByteArrayList{} << QList<int>{} << QStringList{};
    QTest::newRow("STOP while DTR is on")
        << QByteArray() << QByteArrayList{"STOP"} << true << QByteArrayList{"ATE0\r\n"} << QList<int>{1000}
        << QStringList{"----------------------1", ">ATE0", "ATE0=-1", "LTE=0"};
    QTest::newRow("STOP while DTR is off") << QByteArray() << QByteArrayList{"STOP"} << false
                                           << QByteArrayList{} << QList<int>{} << QStringList{};
    QTest::newRow("LTE module stops, its OK asks the operator")
        << QByteArray() << QByteArrayList{"#APLAYEV: 0", "OK"} << true
        << QByteArrayList{"ATE0\r\n", "AT#SPN\r\n"} << QList<int>{1000, 200}
        << QStringList{"----------------------1", ">ATE0",  "ATE0=-1", "LTE=-1",
                       "----------------------2", ">AT#SPN"};
    QTest::newRow("standard module's follow-up line")
        << QByteArray() << QByteArrayList{"STOP", "[AT#SLED=1]=", "OK"} << true
        << QByteArrayList{"ATE0\r\n", "ATE0;#SPN\r\n"} << QList<int>{1000, 1000}
        << QStringList{"----------------------1", ">ATE0", "ATE0=-1", "LTE=0"};
    QTest::newRow("Telit") << QByteArray("AT+CGMI") << QByteArrayList{"Telit"} << false
                           << QByteArrayList{"AT#SPN\r\n"} << QList<int>{} << QStringList{};
    QTest::newRow("registration 0,1") << QByteArray() << QByteArrayList{"+CREG: 0,1"} << false
                                      << QByteArrayList{} << QList<int>{200} << QStringList{};
    QTest::newRow("registration 0,5") << QByteArray() << QByteArrayList{"+CREG: 0,5"} << false
                                      << QByteArrayList{} << QList<int>{200} << QStringList{};
    QTest::newRow("registration 0,2 is only logged") << QByteArray() << QByteArrayList{"+CREG: 0,2"} << false
                                                     << QByteArrayList{} << QList<int>{} << QStringList{};
    QTest::newRow("battery logs its value") << QByteArray() << QByteArrayList{"#CBC: 0,412"} << false
                                            << QByteArrayList{} << QList<int>{} << QStringList{"412"};
    QTest::newRow("SIM size starts the read")
        << QByteArray("AT+CPBR=?") << QByteArrayList{"+CPBR: (1-250),40,18"} << false
        << QByteArrayList{"AT+CPBR=1,250\r\n"} << QList<int>{100} << QStringList{};
    QTest::newRow("SIM of 10 locations is not read")
        << QByteArray("AT+CPBR=?") << QByteArrayList{"+CPBR: (1-10),40,18"} << true << QByteArrayList{}
        << QList<int>{} << QStringList{};
    QTest::newRow("operator in stop mode asks the SIM size")
        << QByteArray("AT#SPN") << QByteArrayList{"#SPN: NET"} << true << QByteArrayList{"AT+CPBR=?\r\n"}
        << QList<int>{200} << QStringList{};
    QTest::newRow("operator in run mode") << QByteArray("AT#SPN") << QByteArrayList{"#SPN: NET"} << false
                                          << QByteArrayList{} << QList<int>{200} << QStringList{};
    QTest::newRow("audio end event without a send waiting is only logged")
        << QByteArray() << QByteArrayList{"#ASENDEV: 0"} << false << QByteArrayList{} << QList<int>{}
        << QStringList{};
}

void ReceiverTest::dispatch() {
    QFETCH(QByteArray, asked);
    QFETCH(QByteArrayList, lines);
    QFETCH(bool, dtr);
    QFETCH(QByteArrayList, sent);
    QFETCH(QList<int>, waits);
    QFETCH(QStringList, logged);

    Fixture f;
    f.form->unit.setDtr(dtr);
    if (!asked.isEmpty()) f.asked(asked);
    f.say(lines);
    QCOMPARE(f.port.sent, sent);
    QCOMPARE(f.pacer.waits, waits);
    QCOMPARE(untimed(f.monitorLines()), logged);
    QVERIFY(f.dialogs.errors.isEmpty());
}

void ReceiverTest::stopEndsTheWaitAndShowsStop() {
    Fixture f;
    TForm1& form = *f.form;
    form.StopORUClick();
    QVERIFY(form.Cekani->isActive());
    form.CekaniTimer();
    QVERIFY(!form.Prubeh->isHidden());
    f.say({"STOP"});
    QVERIFY(!form.Cekani->isActive());
    QVERIFY(form.Prubeh->isHidden());
    QVERIFY(!form.DeviceStop->isHidden() && form.DeviceRun->isHidden() && form.DeviceNic->isHidden());
    QVERIFY(form.LoadORU->isEnabled() && form.SaveORU->isEnabled() && form.RunORU->isEnabled());
    QVERIFY(form.dialogue.stopSeen);
}

void ReceiverTest::batteryLineShowsTheVoltage() {
    Fixture f;
    TForm1& form = *f.form;
    form.Cekani->start();
    form.Prubeh->show();
    f.say({"#CBC: 0,412"});
    QCOMPARE(form.StatusBar1->panelText(1), QStringLiteral(" board voltage: 4120 mV"));
    QCOMPARE(form.Voltage->text(), QStringLiteral("4120 mV"));
    QCOMPARE(form.BVoltage->value(), 412);
    QVERIFY(!form.Cekani->isActive());
    QVERIFY(form.Prubeh->isHidden());
    f.say({"#CBC: 0,500"});
    QCOMPARE(form.BVoltage->value(), 420);
}

void ReceiverTest::sizeBelowOneLocationIsRefused_data() {
    QTest::addColumn<QByteArray>("size");
    QTest::newRow("none") << QByteArray("0");
    QTest::newRow("negative") << QByteArray("-5");
}

// A size below one location keeps the size known so far, so that no command names a location from it.
void ReceiverTest::sizeBelowOneLocationIsRefused() {
    QFETCH(QByteArray, size);
    Fixture f;
    f.form->engine.sim.capacity = 30;
    f.form->unit.setDtr(true);
    f.asked("AT+CPBR=?");
    f.say({"+CPBR: (1-" + size + "),40,18"});
    QCOMPARE(f.form->engine.sim.capacity, 30);
    QCOMPARE(f.port.sent, QByteArrayList());
    QCOMPARE(f.dialogs.errors,
             QStringList{QStringLiteral("The unit gave its SIM's size as %1 locations; the program keeps 30.")
                             .arg(QString::fromLatin1(size))});
}

void ReceiverTest::signalColours_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("progress");
    const QColor red(255, 0, 0), aqua(0, 255, 255), lime(0, 255, 0);
    QTest::newRow("14 red") << 14 << red << 14;
    QTest::newRow("15 aqua") << 15 << aqua << 15;
    QTest::newRow("21 aqua") << 21 << aqua << 21;
    QTest::newRow("22 lime") << 22 << lime << 22;
    QTest::newRow("31 lime") << 31 << lime << 31;
    QTest::newRow("99 red and full") << 99 << red << 31;
}

void ReceiverTest::signalColours() {
    QFETCH(int, level);
    QFETCH(QColor, colour);
    QFETCH(int, progress);
    Fixture f;
    f.say({"+CSQ: " + QByteArray::number(level) + ",0"});
    QCOMPARE(f.form->state.signalLevel, level);
    QCOMPARE(f.form->Smeter->foreColor(), colour);
    QCOMPARE(f.form->Smeter->progress(), progress);
}

void ReceiverTest::statusLinesMoveThePictures() {
    Fixture f;
    TForm1& form = *f.form;
    // A signal line while waiting, after the stop was seen, means the script runs again.
    form.dialogue.stopSeen = true;
    form.showDeviceState(form.DeviceNic);
    form.SaveORU->setEnabled(true);
    f.say({"+CSQ: 18,0"});
    QVERIFY(!form.DeviceRun->isHidden());
    QVERIFY(!form.SaveORU->isEnabled());

    // The tone line shows the run picture and leaves the buttons alone.
    form.ShowStopState();
    f.say({"[AT#tone=i,4]="});
    QVERIFY(!form.DeviceRun->isHidden() && form.DeviceStop->isHidden());
    QVERIFY(form.SaveORU->isEnabled());

    form.ShowStopState();
    f.say({"+COPS: 0,0,\"NET\""});
    QVERIFY(!form.DeviceRun->isHidden());
    QVERIFY(!form.LoadORU->isEnabled());
}

void ReceiverTest::operatorWithoutColonShowsTheWholeLine() {
    Fixture f;
    f.asked("AT#SPN");
    f.say({"#SPN: NET"});
    QCOMPARE(f.form->StatusBar1->panelText(0), QStringLiteral("Operator:  NET"));
    f.say({"x#SPN"});
    QCOMPARE(f.form->StatusBar1->panelText(0), QStringLiteral("Operator: x#SPN"));
}

void ReceiverTest::okStartsAPendingReRead() {
    Fixture f;
    TForm1& form = *f.form;
    form.PhoneBook1->appendLine("Anna=123");
    form.dialogue.rereadPending = true;
    form.dialogue.firstEntryPending = false;
    f.asked("AT+CPBW=5");
    f.say({"OK"});
    QCOMPARE(f.port.sent, QByteArrayList{"AT#SPN\r\n"});
    QCOMPARE(f.pacer.waits, QList<int>{200});
    QVERIFY(!form.dialogue.rereadPending);
    QVERIFY(form.dialogue.firstEntryPending);
    QCOMPARE(form.PhoneBook1->lineCount(), 0);
    QVERIFY(form.SaveORU->isEnabled());
}

void ReceiverTest::lineFramingAndByteClasses() {
    Fixture f;
    f.form->dialogue.rereadPending = true;
    f.asked("AT+CPBW=5");
    // Control characters other than CR are dropped; bytes from 128 pass unchanged.
    f.port.deliver(QByteArray("\r\n\x01O\x0bK\x1f\r\n") + "caf\xe9\r");
    QCOMPARE(f.port.sent, QByteArrayList{"AT#SPN\r\n"});
    QCOMPARE(f.monitorLines(),
             (QStringList{"[12:34:56]   ", "[12:34:56]   OK", QStringLiteral("[12:34:56]   caf\u00e9")}));
    // A line holding "#SMSATWL" is dispatched but not logged.
    f.form->Monitor->clear();
    f.port.deliver("+CSQ: 22,0 #SMSATWL\r");
    QVERIFY(f.monitorLines().isEmpty());
    QCOMPARE(f.form->state.signalLevel, 22);
}

void ReceiverTest::linesSplitAcrossNotifications() {
    Fixture f;
    f.asked("AT+CPBR=?");
    f.port.deliver("\r\n+CPBR: (1-2");
    QVERIFY(f.port.sent.isEmpty());
    f.port.deliver("50),40,18\r\n\r\n+CREG: 0,1\r\n");
    QCOMPARE(f.port.sent, QByteArrayList{"AT+CPBR=1,250\r\n"});
    QCOMPARE(f.pacer.waits, (QList<int>{100, 200}));
}

void ReceiverTest::aFailedLineDoesNotLoseTheLinesAfterIt() {
    Fixture f;
    f.form->dialogue.rereadPending = true;
    f.asked("AT+CPBW=5");
    f.form->run([&f] { f.port.deliver("\r\n+CSQ: x,0\r\n#CBC: 0,\r\nOK\r\n+CREG: 0,1\r\n"); });
    QCOMPARE(f.port.sent, QByteArrayList{"AT#SPN\r\n"});
    QCOMPARE(f.pacer.waits, (QList<int>{200, 200}));
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY(f.dialogs.errors.first().contains(QStringLiteral("'x'")));
    QVERIFY(f.form->unit.partial().isEmpty());
}

void ReceiverTest::aLineThatNeverEndsIsCapped() {
    Fixture f;
    f.port.deliver(QByteArray(40000, 'x'));
    f.port.deliver(QByteArray(40000, 'x'));
    QCOMPARE(f.form->unit.partial().size(), 65536);
    f.port.deliver("\r\nOK\r\n");
    const QStringList lines = f.monitorLines();
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].contains(QStringLiteral("65536")));
    QCOMPARE(lines[1].size(), QStringLiteral("[12:34:56]   ").size() + 65536);
    QCOMPARE(lines[2], QStringLiteral("[12:34:56]   OK"));
}

void ReceiverTest::uploadPrompt_data() {
    QTest::addColumn<bool>("active");
    QTest::addColumn<QByteArray>("prompt");
    QTest::addColumn<int>("payloadSize");
    QTest::addColumn<QList<int>>("sends");
    QTest::addColumn<QStringList>("logged");

    QTest::newRow("no upload running") << false << QByteArray(">>>") << 10 << QList<int>{} << QStringList{};
    QTest::newRow("CONNECT") << true << QByteArray("CONNECT") << 900 << QList<int>{900}
                             << QStringList{"+++++++++++++++"};
    QTest::newRow("64000 in one send")
        << true << QByteArray(">>>") << 64000 << QList<int>{64000} << QStringList{"+++++++++++++++"};
    QTest::newRow("64001 in two") << true << QByteArray(">>>") << 64001 << QList<int>{64000, 1}
                                  << QStringList{"+++++++++++++++", "sending", "sending", "flush buffer"};
    QTest::newRow("300000 in pieces as the buffer drains")
        << true << QByteArray(">>>") << 300000 << QList<int>{64000, 64000, 64000, 64000, 44000}
        << QStringList{"+++++++++++++++", "sending",      "sending",     "flush buffer", "sending",
                       "sending",         "flush buffer", "sending",     "sending",      "flush buffer",
                       "sending",         "sending",      "flush buffer"};
}

void ReceiverTest::uploadPrompt() {
    QFETCH(bool, active);
    QFETCH(QByteArray, prompt);
    QFETCH(int, payloadSize);
    QFETCH(QList<int>, sends);
    QFETCH(QStringList, logged);

    Fixture f;
    f.port.drainAfterPolls = 2;
    if (active) f.form->dialogue.start(Dialogue::Phase::Uploading);
    f.form->dialogue.uploadActive = active;
    f.form->dialogue.asendPending = true; // keeps the "OK" of this test from running an upload step
    const QByteArray payload = everyByteValue(payloadSize);
    f.form->state.uploadPayload = payload;
    f.port.deliver(prompt);
    QList<int> sizes;
    for (const QByteArray& s : f.port.sent)
        sizes << static_cast<int>(s.size());
    QCOMPARE(sizes, sends);
    QCOMPARE(f.port.sentBytes(), active ? payload : QByteArray());
    QCOMPARE(f.monitorLines(), logged);
    if (active) QCOMPARE(f.pacer.waits.first(), 500);
}

void ReceiverTest::ledBlinksOnReceive() {
    Fixture f;
    TForm1& form = *f.form;
    f.port.deliver("x");
    QVERIFY(!form.RXDled->isHidden());
    QVERIFY(form.LedTimer->isActive());
    f.port.deliver("y");
    QVERIFY(form.RXDled->isHidden());
    f.port.deliver("z");
    form.LedTimerTimer();
    QVERIFY(form.RXDled->isHidden());
    QVERIFY(!form.LedTimer->isActive());
}

void ReceiverTest::timeStampsCarryNoZone_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("stamp");

    QTest::newRow("C") << "C"
                       << "[12:34:56]";
    QTest::newRow("zone in brackets, eu_ES") << "eu_ES"
                                             << "[12:34:56]";
    QTest::newRow("zone in brackets, ca_ES") << "ca_ES"
                                             << "[12:34:56]";
    QTest::newRow("zone in brackets, quoted words stay, nds_DE") << "nds_DE"
                                                                 << "[Klock 12.34:56]";
    QTest::newRow("zone in brackets, digits of another script, ps_AF") << "ps_AF"
                                                                       << "[12:34:56]";
    QTest::newRow("zone after a blank, en_US") << "en_US"
                                               << "[12:34:56 PM]";
    QTest::newRow("zone after a blank, de_DE") << "de_DE"
                                               << "[12:34:56]";
}

void ReceiverTest::timeStampsCarryNoZone() {
    QFETCH(QString, locale);
    QFETCH(QString, stamp);

    QLocale::setDefault(QLocale(locale));
    Fixture f;
    f.say({"OK"});
    QLocale::setDefault(QLocale::c());
    QCOMPARE(f.monitorLines().last(), stamp + QStringLiteral("   OK"));
}

void ReceiverTest::eachSecondHasItsStamp() {
    Fixture f;
    f.say({"OK"});
    f.pacer.clock = f.pacer.clock.addMSecs(999);
    f.say({"OK"});
    f.pacer.clock = f.pacer.clock.addMSecs(1);
    f.say({"OK"});
    f.pacer.clock = QTime(23, 59, 59);
    f.say({"OK"});
    const QStringList lines = f.monitorLines();
    QCOMPARE(lines.filter(QStringLiteral("OK")),
             (QStringList{"[12:34:56]   OK", "[12:34:56]   OK", "[12:34:57]   OK", "[23:59:59]   OK"}));
}

QTEST_MAIN(ReceiverTest)
#include "tst_receiver.moc"
