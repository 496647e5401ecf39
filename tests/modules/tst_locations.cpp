#include "FormFixture.h"
#include "ViewTexts.h"

#include "files/PhoneBookList.h"
#include "modules/EntryTree.h"

#include <QtTest>

// The index of a read-back entry goes into the commands that write over or clear its location: only
// an index that is a location of the SIM is taken, anything else is reported and never sent.
class LocationsTest : public QObject {
    Q_OBJECT
private slots:
    void entryIndexes_data();
    void entryIndexes();
    void commandsRefuseANodeThatIsNoLocation_data();
    void commandsRefuseANodeThatIsNoLocation();
};

void LocationsTest::entryIndexes_data() {
    QTest::addColumn<QByteArray>("index");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<bool>("taken");

    QTest::newRow("first location") << QByteArray("1") << 250 << true;
    QTest::newRow("last location") << QByteArray("250") << 250 << true;
    QTest::newRow("leading zero") << QByteArray("007") << 250 << true;
    QTest::newRow("size not known yet") << QByteArray("300") << 0 << true;
    QTest::newRow("a second command") << QByteArray("5;+CPBW=1") << 250 << false;
    QTest::newRow("beyond the SIM") << QByteArray("251") << 250 << false;
    QTest::newRow("zero") << QByteArray("0") << 250 << false;
    QTest::newRow("zero, size not known") << QByteArray("0") << 0 << false;
    QTest::newRow("negative") << QByteArray("-3") << 250 << false;
    QTest::newRow("plus sign") << QByteArray("+3") << 250 << false;
    QTest::newRow("two numbers") << QByteArray("1 2") << 250 << false;
    QTest::newRow("letters") << QByteArray("x") << 250 << false;
    QTest::newRow("empty") << QByteArray() << 250 << false;
    QTest::newRow("too long for a number") << QByteArray("99999999999999999999") << 0 << false;
}

void LocationsTest::entryIndexes() {
    QFETCH(QByteArray, index);
    QFETCH(int, capacity);
    QFETCH(bool, taken);

    FormFixture f;
    TForm1& form = *f.form;
    form.ResetEntryView();
    form.engine.sim.capacity = capacity;
    f.port.clearSent();
    f.asked("AT+CPBR=1,250");
    f.say({"+CPBR: " + index + ",\"1\",129,\"DETECT\"", "+CPBR: " + index + ",\"5\",129,\"M1-1\"",
           "+CPBR: " + index + ",\"+420\",129,\"ADMIN1\""});

    if (taken) {
        QVERIFY(f.dialogs.errors.isEmpty());
        QCOMPARE(form.state.detectLine, index + ":DETECT[1]");
        QCOMPARE(nodes(form.TreeMemo), QByteArrayList{index + ":M1-1[5]"});
        QCOMPARE(form.ADMIN[0]->text(), QStringLiteral("+420"));
        QCOMPARE(form.PhoneBook1->lineCount(), 2);
        return;
    }
    // Each entry is reported with the index as the unit sent it, and left out everywhere.
    QCOMPARE(f.dialogs.errors.size(), 3);
    for (const QString& report : f.dialogs.errors)
        QVERIFY2(report.contains(QLatin1Char('"') + QString::fromLatin1(index) + QLatin1Char('"')),
                 qPrintable(report));
    QVERIFY(form.state.detectLine.isEmpty());
    QVERIFY(!form.dialogue.detectFound);
    QVERIFY(!form.DetBut->isChecked());
    QCOMPARE(form.TreeMemo->nodeCount(), 0);
    QCOMPARE(form.ADMIN[0]->text(), QString());
    QCOMPARE(form.PhoneBook1->lineCount(), 0);

    // Unticking the box afterwards clears no location.
    form.DetBut->setChecked(true);
    form.DetBut->click();
    QCOMPARE(f.port.commands(), QByteArrayList{"AT#SPN"});
}

void LocationsTest::commandsRefuseANodeThatIsNoLocation_data() {
    QTest::addColumn<QByteArray>("node");
    QTest::addColumn<QString>("button");

    // A node read before the SIM's size was known, or from a larger SIM.
    const QByteArray beyond("200:M1-1[5]");
    QTest::newRow("Del beyond the SIM") << beyond << QStringLiteral("DelMemoSel");
    QTest::newRow("Write over a node beyond the SIM") << beyond << QStringLiteral("WriteMemo");
    QTest::newRow("untick DetBut beyond the SIM") << QByteArray("200:DETECT[1]") << QStringLiteral("DetBut");
    QTest::newRow("Del of a node with a second command")
        << QByteArray("5;+CPBW=1:M1-1[5]") << QStringLiteral("DelMemoSel");
}

void LocationsTest::commandsRefuseANodeThatIsNoLocation() {
    QFETCH(QByteArray, node);
    QFETCH(QString, button);

    FormFixture f;
    TForm1& form = *f.form;
    form.engine.sim.capacity = 100;
    form.TreeMemoSel->addNode(node);
    form.TreeMemoSel->selectNode(0);
    form.Memo->setText(QStringLiteral("1"));
    form.MemoPNumber->setText(QStringLiteral("5"));
    form.state.detectLine = node;
    form.dialogue.detectFound = true;
    form.DetBut->setChecked(true);
    f.port.clearSent();

    form.findChild<QAbstractButton*>(button)->click();
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY2(f.dialogs.errors.first().contains(QStringLiteral("Nothing was sent")),
             qPrintable(f.dialogs.errors.first()));
    QVERIFY(f.port.sent.isEmpty());
}

QTEST_MAIN(LocationsTest)
#include "tst_locations.moc"
