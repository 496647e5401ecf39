#include "FormFixture.h"
#include "ViewTexts.h"

#include "config/PhonebookEntry.h"
#include "files/PhoneBookList.h"
#include "modules/EntryTree.h"
#include "widgets/StatusPanels.h"

#include <QtTest>

// Entry lines of a read-back: how they are cut apart and where each one goes.
class ReadBackTest : public QObject {
    Q_OBJECT
private slots:
    void parsesEntryLines_data();
    void parsesEntryLines();
    void routesEntries_data();
    void routesEntries();
    void firstUnclaimedEntryReplacesTheGrid();
    void versionEntry_data();
    void versionEntry();
    void readBackThroughTheReceiver();
};

namespace {

QByteArray entryLine(int index, const QByteArray& number, const QByteArray& name) {
    return "+CPBR: " + QByteArray::number(index) + ",\"" + number + "\",129,\"" + name + "\"";
}

} // namespace

void ReadBackTest::parsesEntryLines_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("index");
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<QByteArray>("name");

    QTest::newRow("an ordinary entry")
        << QByteArray("+CPBR: 12,\"+420603111222\",145,\"ADMIN1\"") << QByteArray("12")
        << QByteArray("+420603111222") << QByteArray("ADMIN1");
    QTest::newRow("blanks around the index are trimmed")
        << QByteArray("+CPBR:   7 ,\"1\",129,\"A\"") << QByteArray("7") << QByteArray("1") << QByteArray("A");
    QTest::newRow("blanks in number and name stay")
        << QByteArray("+CPBR: 3,\" Door open \",129,\" x \"") << QByteArray("3") << QByteArray(" Door open ")
        << QByteArray(" x ");
    QTest::newRow("parameter string with its separators")
        << QByteArray("+CPBR: 24,\"4#4#0#0#1#7#2#0\",129,\"PARORU\"") << QByteArray("24")
        << QByteArray("4#4#0#0#1#7#2#0") << QByteArray("PARORU");
    QTest::newRow("empty number and name")
        << QByteArray("+CPBR: 5,\"\",129,\"\"") << QByteArray("5") << QByteArray() << QByteArray();
    QTest::newRow("a comma in the number stays in it")
        << QByteArray("+CPBR: 9,\"12,3\",129,\"N\"") << QByteArray("9") << QByteArray("12,3")
        << QByteArray("N");
    QTest::newRow("an alarm text with a comma")
        << QByteArray("+CPBR: 22,\"Alarm on, zone 1\",129,\"ALARMON\"") << QByteArray("22")
        << QByteArray("Alarm on, zone 1") << QByteArray("ALARMON");
    QTest::newRow("commas in both fields") << QByteArray("+CPBR: 8,\",1,\",129,\"a,b,\"") << QByteArray("8")
                                           << QByteArray(",1,") << QByteArray("a,b,");
    QTest::newRow("a quote in the name stays in it")
        << QByteArray("+CPBR: 6,\"1\",129,\"Joe \"Big\" Smith\"") << QByteArray("6") << QByteArray("1")
        << QByteArray("Joe \"Big\" Smith");
    QTest::newRow("a name of one quote")
        << QByteArray("+CPBR: 6,\"1\",129,\"\"\"") << QByteArray("6") << QByteArray("1") << QByteArray("\"");
    QTest::newRow("without the type field the name is empty")
        << QByteArray("+CPBR: 4,\"1\"") << QByteArray("4") << QByteArray("1") << QByteArray();
    QTest::newRow("without quotes the fields are empty")
        << QByteArray("+CPBR: 4,123,129,NAME") << QByteArray("4") << QByteArray() << QByteArray();
    QTest::newRow("without a closing quote the name is empty")
        << QByteArray("+CPBR: 4,\"1\",129,\"NAME") << QByteArray("4") << QByteArray("1") << QByteArray();
    QTest::newRow("without a comma the index is empty")
        << QByteArray("+CPBR: 4") << QByteArray() << QByteArray() << QByteArray();
}

void ReadBackTest::parsesEntryLines() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, index);
    QFETCH(QByteArray, number);
    QFETCH(QByteArray, name);

    const PhonebookEntry entry = PhonebookEntry::parse(line);
    QCOMPARE(entry.index, index);
    QCOMPARE(entry.number, number);
    QCOMPARE(entry.name, name);
}

void ReadBackTest::routesEntries_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("number");
    // The edit or parameter string that takes the number; empty when the entry goes to the grid.
    QTest::addColumn<QString>("target");

    QTest::newRow("ADMIN1") << QByteArray("ADMIN1") << QByteArray("+420111") << QStringLiteral("ADMIN1");
    QTest::newRow("ADMIN7") << QByteArray("ADMIN7") << QByteArray("777") << QStringLiteral("ADMIN7");
    QTest::newRow("ABUTTON1") << QByteArray("ABUTTON1") << QByteArray("+421") << QStringLiteral("ABUTTON1");
    QTest::newRow("ABUTTON7") << QByteArray("ABUTTON7") << QByteArray("*7#") << QStringLiteral("ABUTTON7");
    QTest::newRow("BBUTTON1") << QByteArray("BBUTTON1") << QByteArray("1") << QStringLiteral("BBUTTON1");
    QTest::newRow("BBUTTON7") << QByteArray("BBUTTON7") << QByteArray("77") << QStringLiteral("BBUTTON7");
    QTest::newRow("ALARMON") << QByteArray("ALARMON") << QByteArray("Door open") << QStringLiteral("ALARMON");
    QTest::newRow("ALARMON with a comma")
        << QByteArray("ALARMON") << QByteArray("Alarm on, zone 1") << QStringLiteral("ALARMON");
    QTest::newRow("ALARMOFF") << QByteArray("ALARMOFF") << QByteArray("Closed") << QStringLiteral("ALARMOFF");
    QTest::newRow("PARORU") << QByteArray("PARORU") << QByteArray("4#6#2#1#0#5#1#3")
                            << QStringLiteral("parOru");
    QTest::newRow("PARRL1") << QByteArray("PARRL1") << QByteArray("5#2#07#0") << QStringLiteral("parRl1");
    QTest::newRow("PARRL2") << QByteArray("PARRL2") << QByteArray("6#3#10#0") << QStringLiteral("parRl2");
    QTest::newRow("PARKEY") << QByteArray("PARKEY") << QByteArray("3#1") << QStringLiteral("parKey");
    QTest::newRow("ADMIN8 is a plain row") << QByteArray("ADMIN8") << QByteArray("8") << QString();
    QTest::newRow("names are case-sensitive") << QByteArray("admin1") << QByteArray("1") << QString();
    QTest::newRow("AABUTTON1 is not read back") << QByteArray("AABUTTON1") << QByteArray("1") << QString();
    QTest::newRow("a module entry is a row too") << QByteArray("B1-1") << QByteArray("+420") << QString();
    QTest::newRow("DETECT is a row too") << QByteArray("DETECT") << QByteArray("1") << QString();
    QTest::newRow("a name with a comma is a row")
        << QByteArray("Smith, John") << QByteArray("+420") << QString();
    QTest::newRow("an empty name is a row") << QByteArray() << QByteArray("5") << QString();
}

void ReadBackTest::routesEntries() {
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, number);
    QFETCH(QString, target);

    FormFixture f;
    TForm1& form = *f.form;
    form.ResetEntryView();
    f.asked("AT+CPBR=1,250");
    f.say({entryLine(30, number, name)});

    const QMap<QString, QByteArray*> parameters{{"parOru", &form.state.parOru},
                                                {"parRl1", &form.state.parRl1},
                                                {"parRl2", &form.state.parRl2},
                                                {"parKey", &form.state.parKey}};
    if (target.isEmpty()) {
        QCOMPARE(gridLines(form.PhoneBook1), QByteArrayList{name + '=' + number});
        QVERIFY(!form.dialogue.firstEntryPending);
    } else {
        if (parameters.contains(target))
            QCOMPARE(*parameters[target], number);
        else
            QCOMPARE(form.findChild<QLineEdit*>(target)->text(), QString::fromLatin1(number));
        // A claimed entry leaves the grid to the first entry nobody claims.
        QCOMPARE(form.PhoneBook1->lineCount(), 0);
        QVERIFY(form.dialogue.firstEntryPending);
    }
    QVERIFY(f.dialogs.errors.isEmpty());
}

void ReadBackTest::firstUnclaimedEntryReplacesTheGrid() {
    FormFixture f;
    TForm1& form = *f.form;
    form.PhoneBook1->setText("Old=1\nOlder=2");
    // Stop only marks the next read-back as a fresh one; the grid still holds what it held.
    form.dialogue.firstEntryPending = true;
    f.asked("AT+CPBR=1,250");
    f.say({entryLine(1, "1", "ADMIN1"), entryLine(2, "4#4#0#0#1#7#2#0", "PARORU")});
    QCOMPARE(gridLines(form.PhoneBook1), (QByteArrayList{"Old=1", "Older=2"}));
    f.say({entryLine(3, "+420", "Alice"), entryLine(4, "", "Bob"), entryLine(5, "2", "ADMIN2"),
           entryLine(6, "3", "Carol")});
    QCOMPARE(gridLines(form.PhoneBook1), (QByteArrayList{"Alice=+420", "Bob=", "Carol=3"}));
    QCOMPARE(form.ADMIN[1]->text(), QStringLiteral("2"));
}

void ReadBackTest::versionEntry_data() {
    QTest::addColumn<QString>("exeName");
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<bool>("tonesEnabled");

    QTest::newRow("ORU edition") << QStringLiteral("zuvovu") << QByteArray("2.14")
                                 << QStringLiteral(" ORU Ver: 2.14") << true;
    QTest::newRow("module edition") << QStringLiteral("GSMTandor") << QByteArray("3.0")
                                    << QStringLiteral(" GSM-TD Ver: 3.0") << true;
    QTest::newRow("a version with # has no tones")
        << QStringLiteral("zuvovu") << QByteArray("2.1#L") << QStringLiteral(" ORU Ver: 2.1#L") << false;
}

void ReadBackTest::versionEntry() {
    QFETCH(QString, exeName);
    QFETCH(QByteArray, number);
    QFETCH(QString, panel);
    QFETCH(bool, tonesEnabled);

    FormFixture f(exeName);
    TForm1& form = *f.form;
    form.PhoneBook1->setText("Kept=1");
    // A second version entry replaces the first.
    f.asked("AT+CPBR=1,250");
    f.say({entryLine(60, "1.0", "VER"), entryLine(61, number, "VER")});
    QCOMPARE(form.StatusBar1->panelText(4), panel);
    for (QCheckBox* tone : {form.TonBeep, form.TonRing, form.TonVoice})
        QCOMPARE(tone->isEnabled(), tonesEnabled);
    QCOMPARE(gridLines(form.PhoneBook1), QByteArrayList{"Kept=1"});
}

void ReadBackTest::readBackThroughTheReceiver() {
    FormFixture f(QStringLiteral("GSMTandor"));
    TForm1& form = *f.form;
    form.unit.setDtr(true);
    f.port.clearSent();
    form.ResetEntryView();
    form.run([&] { form.engine.askOperator("AT#SPN\r\n"); });
    f.say({"#SPN: NET", "OK", "+CPBR: (1-250),40,18", "OK"});
    QCOMPARE(f.port.commands(), (QByteArrayList{"AT#SPN", "AT+CPBR=?", "AT+CPBR=1,250"}));
    f.say({entryLine(1, "111", "ADMIN1"), entryLine(2, "Door open", "ALARMON"),
           entryLine(3, "4#6#2#1#0#5#1#3", "PARORU"), entryLine(4, "2.14", "VER"),
           entryLine(5, "+420", "Alice"), entryLine(6, "555", "B1-1"), entryLine(7, "1#1", "C12C"),
           entryLine(8, "1", "DETECT"), "OK"});
    QCOMPARE(form.ADMIN[0]->text(), QStringLiteral("111"));
    QCOMPARE(form.ALARMON->text(), QStringLiteral("Door open"));
    QCOMPARE(form.state.parOru, QByteArray("4#6#2#1#0#5#1#3"));
    QCOMPARE(form.StatusBar1->panelText(4), QStringLiteral(" GSM-TD Ver: 2.14"));
    QCOMPARE(gridLines(form.PhoneBook1), (QByteArrayList{"Alice=+420", "B1-1=555", "C12C=1#1", "DETECT=1"}));
    QCOMPARE(form.TreeButtons->nodeText(0), QByteArray("6:B1-1[555]"));
    QCOMPARE(form.TreeCode->nodeText(0), QByteArray("7:C12C[1#1]"));
    QVERIFY(form.DetBut->isChecked());
    // The read's "OK" ends it; nothing more is sent.
    QVERIFY(form.dialogue.is(Dialogue::Phase::Idle));
    QCOMPARE(f.port.commands().size(), 3);
    QVERIFY(f.dialogs.errors.isEmpty());
}

QTEST_MAIN(ReadBackTest)
#include "tst_readback.moc"
