#include "TestPort.h"

#include "core/Failure.h"
#include "core/Pacer.h"
#include "engine/UnitLine.h"

#include <QSignalSpy>
#include <QtTest>

// The line to the unit on its own, without a window: what is sent after a pause waits for its end, and
// every line the unit says is an answer to the oldest open command, its final result, or the unit's own.
class UnitLineTest : public QObject {
    Q_OBJECT
private slots:
    void linesBelongToTheCommandThatAskedForThem_data();
    void linesBelongToTheCommandThatAskedForThem();
    void aPauseHoldsBackWhatFollowsIt();
    void aSendThatFailsAfterAPauseIsReported();
    void receivedLinesWaitForAPauseThatALineStarts();
    void aLineThatFailsEndsOnlyItself();
};

namespace {

// Pauses that end only when the test says.
class HeldPacer : public Pacer {
public:
    void after(int, QObject*, std::function<void()> then) override { pending << std::move(then); }
    QTime now() override { return {}; }
    std::unique_ptr<Deadline> deadline() override { return std::make_unique<TimerDeadline>(); }
    void endPause() { pending.takeFirst()(); }
    QList<std::function<void()>> pending;
};

using Role = UnitLine::Role;

// "U" unsolicited, "A:command" an answer to it, "F:command" its final result.
QByteArray taken(const UnitLine::Taken& t) {
    switch (t.role) {
    case Role::Unsolicited:
        return "U";
    case Role::Answer:
        return "A:" + t.command;
    case Role::Final:
        return "F:" + t.command;
    }
    return {};
}

} // namespace

void UnitLineTest::linesBelongToTheCommandThatAskedForThem_data() {
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QByteArrayList>("said");
    QTest::addColumn<QByteArrayList>("taken");

    QTest::newRow("an OK with nothing open is the unit's own")
        << QByteArrayList{} << QByteArrayList{"OK"} << QByteArrayList{"U"};
    QTest::newRow("answers in order, blank framing lines are nobody's")
        << QByteArrayList{"AT#SPN", "AT+CPBR=?"}
        << QByteArrayList{"", "#SPN: NET", "", "OK", "+CPBR: (1-250),40,18", "OK"}
        << QByteArrayList{"U", "A:AT#SPN", "U", "F:AT#SPN", "A:AT+CPBR=?", "F:AT+CPBR=?"};
    QTest::newRow("a late answer's OK is its own, not the write's")
        << QByteArrayList{"AT+CPBW=5,1,,A"} << QByteArrayList{"#SPN: NET", "OK", "OK"}
        << QByteArrayList{"U", "U", "F:AT+CPBW=5,1,,A"};
    QTest::newRow("a late size answer during a listing is nobody's")
        << QByteArrayList{"AT+CPBR=1,40"}
        << QByteArrayList{"+CPBR: 1,\"1\",129,\"A\"", "+CPBR: (1-40),40,18", "OK", "+CPBR: 2,\"2\",129,\"B\"",
                          "OK"}
        << QByteArrayList{"A:AT+CPBR=1,40", "U", "U", "A:AT+CPBR=1,40", "F:AT+CPBR=1,40"};
    QTest::newRow("a late answer claims only the final result right behind it")
        << QByteArrayList{"AT"} << QByteArrayList{"+CPBR: (1-40)", "+CREG: 0,1", "OK"}
        << QByteArrayList{"U", "U", "F:AT"};
    QTest::newRow("the unit's own lines claim nothing")
        << QByteArrayList{"AT+CPBW=3"} << QByteArrayList{"+CREG: 0,1", "#CBC: 0,412", "OK"}
        << QByteArrayList{"U", "U", "F:AT+CPBW=3"};
    QTest::newRow("an echo is no answer")
        << QByteArrayList{"AT+CGMI"} << QByteArrayList{"AT+CGMI", "Telit", "OK"}
        << QByteArrayList{"U", "A:AT+CGMI", "F:AT+CGMI"};
    QTest::newRow("an error closes its command")
        << QByteArrayList{"AT+CPBR=?", "AT"} << QByteArrayList{"+CME ERROR: 14", "OK"}
        << QByteArrayList{"F:AT+CPBR=?", "F:AT"};
    QTest::newRow("a reboot waits for no answer")
        << QByteArrayList{"AT#REBOOT"} << QByteArrayList{"OK"} << QByteArrayList{"U"};
}

void UnitLineTest::linesBelongToTheCommandThatAskedForThem() {
    QFETCH(QByteArrayList, sent);
    QFETCH(QByteArrayList, said);
    QFETCH(QByteArrayList, taken);
    TestPort port;
    HeldPacer pacer;
    UnitLine line(port, pacer);
    for (const QByteArray& command : sent)
        line.send(command + "\r\n");
    QByteArrayList roles;
    for (const QByteArray& answer : said)
        roles << ::taken(line.take(answer));
    QCOMPARE(roles, taken);
}

void UnitLineTest::aPauseHoldsBackWhatFollowsIt() {
    TestPort port;
    HeldPacer pacer;
    UnitLine line(port, pacer);
    QSignalSpy released(&line, &UnitLine::released);
    line.send("ATE0\r\n");
    line.pause(200);
    line.send("AT+CGMI\r\n");
    line.setDtr(true);
    std::vector<int> order;
    line.then([&] { order.push_back(int(port.sent.size())); });
    QCOMPARE(port.sent, QByteArrayList{"ATE0\r\n"});
    QVERIFY(!port.dtr());
    QVERIFY(line.dtr());
    QVERIFY(line.holding());
    QCOMPARE(released.count(), 0);

    pacer.endPause();
    QCOMPARE(port.sent, (QByteArrayList{"ATE0\r\n", "AT+CGMI\r\n"}));
    QVERIFY(port.dtr());
    QCOMPARE(order, std::vector<int>{2});
    QVERIFY(!line.holding());
    QCOMPARE(released.count(), 1);
    QCOMPARE(line.open(), (QByteArrayList{"ATE0", "AT+CGMI"}));
}

void UnitLineTest::aSendThatFailsAfterAPauseIsReported() {
    TestPort port;
    HeldPacer pacer;
    UnitLine line(port, pacer);
    QSignalSpy failed(&line, &UnitLine::failed);
    QSignalSpy released(&line, &UnitLine::released);
    port.failOpen = QStringLiteral("The adapter was unplugged.");
    line.pause(200);
    line.send("AT\r\n");
    line.send("AT+CPBW=1\r\n");
    pacer.endPause();
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().first().toString(), QStringLiteral("The adapter was unplugged."));
    // Nothing after the failed send goes to a line that is not there.
    QVERIFY(port.sent.isEmpty());
    QVERIFY(line.open().isEmpty());
    QVERIFY(!line.holding());
    QCOMPARE(released.count(), 1);
}

void UnitLineTest::receivedLinesWaitForAPauseThatALineStarts() {
    TestPort port;
    HeldPacer pacer;
    UnitLine line(port, pacer);
    QByteArrayList handled;
    int prompts = 0;
    line.onReceived(
        [&](const QByteArray& received) {
            handled << received;
            if (received == "+CREG: 0,1") line.pause(200);
        },
        [&] { ++prompts; });
    const QByteArray said = "\r\nOK\r\n+CREG: 0,1\r\n#SPN: NET\r\nOK\r\n>>>";
    port.deliver(said);
    line.receive(quint16(said.size()));
    // A line ends at its CR, the LF after it is dropped; the prompt is taken before its line ends.
    QCOMPARE(handled, (QByteArrayList{"", "OK", "+CREG: 0,1"}));
    QCOMPARE(line.partial(), QByteArray(">>>"));
    QCOMPARE(prompts, 1);

    pacer.endPause();
    line.handleHeld();
    QCOMPARE(handled, (QByteArrayList{"", "OK", "+CREG: 0,1", "#SPN: NET", "OK"}));
}

void UnitLineTest::aLineThatFailsEndsOnlyItself() {
    TestPort port;
    HeldPacer pacer;
    UnitLine line(port, pacer);
    QByteArrayList handled;
    line.onReceived(
        [&](const QByteArray& said) {
            if (said.startsWith("bad")) throw Failure(QString::fromLatin1(said));
            handled << said;
        },
        [] {});
    try {
        port.deliver("bad 1\rgood\rbad 2\r");
        line.receive(17);
        QFAIL("the failures were not reported");
    } catch (const Failure& failure) {
        QCOMPARE(failure.text(), QStringLiteral("bad 1\nbad 2"));
    }
    QCOMPARE(handled, QByteArrayList{"good"});
}

QTEST_MAIN(UnitLineTest)
#include "tst_unitline.moc"
