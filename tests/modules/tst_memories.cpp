#include "FormFixture.h"

#include "files/PhoneBookList.h"
#include "modules/EntryTree.h"

#include <QtTest>

// The editing panels of keyboard memories and module buttons, and the button detection box.
class MemoriesTest : public QObject {
    Q_OBJECT
private slots:
    void nameFilterAndPreview_data();
    void nameFilterAndPreview();
    void positionPickShowsInThePreviewOnlyWithAName_data();
    void positionPickShowsInThePreviewOnlyWithAName();
    void aTypedPositionShowsInThePreviewAndTheWrite_data();
    void aTypedPositionShowsInThePreviewAndTheWrite();
    void aTypedPositionNeverBecomesAnItem_data();
    void aTypedPositionNeverBecomesAnItem();
    void phoneNumberFilter_data();
    void phoneNumberFilter();
    void addTakesThePositionAfterTheListedNumbers_data();
    void addTakesThePositionAfterTheListedNumbers();
    void writesOverTheSelectedNumberOrIntoANewLocation_data();
    void writesOverTheSelectedNumberOrIntoANewLocation();
    void aClickedNumberIsRewrittenInItsLocation_data();
    void aClickedNumberIsRewrittenInItsLocation();
    void detectionOnAndOff_data();
    void detectionOnAndOff();
    void detectionStartsARereadOfTheWholePhonebook();
};

namespace {

// The controls of one panel, so that one table covers both pages.
struct Panel {
    QByteArray letter;
    QLineEdit* name;
    QComboBox* position;
    QLabel* label;
    QLineEdit* number;
    EntryTree* numbers;
    QPushButton* add;
    QPushButton* write;
};

Panel panelOf(TForm1& form, const QByteArray& letter) {
    if (letter == "M")
        return {letter,           form.Memo,        form.PosMemo, form.LabelMemo,
                form.MemoPNumber, form.TreeMemoSel, form.AddMemo, form.WriteMemo};
    return {letter,           form.Button,        form.PosButton,
            form.LabelButton, form.ButtonPNumber, form.TreeButtonsSel,
            form.AddButton,   form.WriteButton};
}

void addSides(const char* name, const std::function<void(QTestData&)>& row) {
    for (const char* letter : {"M", "B"})
        row(QTest::addRow("%s: %s", letter, name) << QByteArray(letter));
}

QString preview(const QByteArray& letter, const QString& name, const QString& position) {
    return QLatin1Char('(') + QString::fromLatin1(letter) + name + QLatin1Char('-') + position +
           QLatin1Char(')');
}

// The numbers of memory or button 25 at positions 1 … count, in locations 31 onwards.
void listNumbers(const Panel& panel, int count) {
    for (int position = 1; position <= count; ++position)
        panel.numbers->addNode(QByteArray::number(30 + position) + ':' + panel.letter + "25-" +
                               QByteArray::number(position) + "[55" + QByteArray::number(position) + ']');
}

QByteArray entryLine(int index, const QByteArray& number, const QByteArray& name) {
    return "+CPBR: " + QByteArray::number(index) + ",\"" + number + "\",129,\"" + name + "\"";
}

} // namespace

void MemoriesTest::nameFilterAndPreview_data() {
    QTest::addColumn<QByteArray>("letter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");

    addSides("digits stay", [](QTestData& row) { row << QStringLiteral("25") << QStringLiteral("25"); });
    addSides("a letter cuts the rest",
             [](QTestData& row) { row << QStringLiteral("12a3") << QStringLiteral("12"); });
    addSides("at most 15 digits", [](QTestData& row) {
        row << QStringLiteral("12345678901234567") << QStringLiteral("123456789012345");
    });
    addSides("an empty name still shows in the preview",
             [](QTestData& row) { row << QStringLiteral("-") << QString(); });
}

void MemoriesTest::nameFilterAndPreview() {
    QFETCH(QByteArray, letter);
    QFETCH(QString, typed);
    QFETCH(QString, name);

    FormFixture f;
    const Panel panel = panelOf(*f.form, letter);
    panel.position->setCurrentIndex(2);
    panel.name->setText(QStringLiteral("9"));
    panel.name->setText(typed);
    QCOMPARE(panel.name->text(), name);
    QCOMPARE(panel.name->cursorPosition(), name.size());
    QCOMPARE(panel.label->text(), preview(letter, name, QStringLiteral("3")));
}

void MemoriesTest::positionPickShowsInThePreviewOnlyWithAName_data() {
    QTest::addColumn<QByteArray>("letter");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("label");

    addSides("with a name", [](QTestData& row) { row << QStringLiteral("25") << QStringLiteral("-5)"); });
    addSides("without a name the label stays",
             [](QTestData& row) { row << QString() << QStringLiteral("-1)"); });
}

void MemoriesTest::positionPickShowsInThePreviewOnlyWithAName() {
    QFETCH(QByteArray, letter);
    QFETCH(QString, name);
    QFETCH(QString, label);

    FormFixture f;
    const Panel panel = panelOf(*f.form, letter);
    panel.name->setText(QStringLiteral("7"));
    panel.name->setText(name);
    panel.position->setCurrentIndex(4);
    emit panel.position->activated(4);
    QCOMPARE(panel.label->text(), QLatin1Char('(') + QString::fromLatin1(letter) + name + label);
}

void MemoriesTest::aTypedPositionShowsInThePreviewAndTheWrite_data() {
    QTest::addColumn<QByteArray>("letter");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("label");

    addSides("a listed position", [](QTestData& row) {
        row << QStringLiteral("25") << QStringLiteral("5") << QStringLiteral("25-5)");
    });
    addSides("a position beyond the list", [](QTestData& row) {
        row << QStringLiteral("25") << QStringLiteral("9") << QStringLiteral("25-9)");
    });
    addSides("an emptied position",
             [](QTestData& row) { row << QStringLiteral("25") << QString() << QStringLiteral("25-)"); });
    addSides("without a name the label stays",
             [](QTestData& row) { row << QString() << QStringLiteral("5") << QStringLiteral("-1)"); });
}

void MemoriesTest::aTypedPositionShowsInThePreviewAndTheWrite() {
    QFETCH(QByteArray, letter);
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, label);

    FormFixture f;
    const Panel panel = panelOf(*f.form, letter);
    panel.name->setText(QStringLiteral("7"));
    panel.name->setText(name);
    panel.number->setText(QStringLiteral("+420777"));
    // Typed over the whole text, as a user selects it and types.
    panel.position->lineEdit()->selectAll();
    QTest::keyClick(panel.position->lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(panel.position->lineEdit(), typed);
    QCOMPARE(panel.label->text(), QLatin1Char('(') + QString::fromLatin1(letter) + label);
    f.port.clearSent();
    panel.write->click();
    QCOMPARE(f.port.sent, QByteArrayList{"AT+CPBW=,+420777,," + letter + name.toLatin1() + '-' +
                                         typed.toLatin1() + "\r\n"});
}

void MemoriesTest::aTypedPositionNeverBecomesAnItem_data() {
    QTest::addColumn<QByteArray>("letter");
    addSides("typed 9 and Enter", [](QTestData&) {});
}

void MemoriesTest::aTypedPositionNeverBecomesAnItem() {
    QFETCH(QByteArray, letter);

    FormFixture f;
    const Panel panel = panelOf(*f.form, letter);
    panel.name->setText(QStringLiteral("4"));
    panel.position->lineEdit()->selectAll();
    QTest::keyClicks(panel.position->lineEdit(), QStringLiteral("9"));
    QTest::keyClick(panel.position->lineEdit(), Qt::Key_Return);
    QCOMPARE(panel.position->count(), 7);
    QCOMPARE(panel.position->currentText(), QStringLiteral("9"));
    // Past the seventh listed number "Add" still shows no position, and the write names none.
    listNumbers(panel, 7);
    panel.number->setText(QStringLiteral("+420777"));
    panel.add->click();
    QCOMPARE(panel.position->currentIndex(), -1);
    QCOMPARE(panel.position->currentText(), QString());
    QCOMPARE(panel.label->text(), preview(letter, QStringLiteral("4"), QString()));
    f.port.clearSent();
    panel.write->click();
    QCOMPARE(f.port.sent, QByteArrayList{"AT+CPBW=,+420777,," + letter + "4-\r\n"});
}

void MemoriesTest::phoneNumberFilter_data() {
    QTest::addColumn<QByteArray>("letter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("number");

    addSides("dialling characters stay",
             [](QTestData& row) { row << QStringLiteral("+420*603#1") << QStringLiteral("+420*603#1"); });
    addSides("a blank cuts the rest",
             [](QTestData& row) { row << QStringLiteral("+420 603") << QStringLiteral("+420"); });
    addSides("at most 20 characters", [](QTestData& row) {
        row << QStringLiteral("1234567890123456789012345") << QStringLiteral("12345678901234567890");
    });
}

void MemoriesTest::phoneNumberFilter() {
    QFETCH(QByteArray, letter);
    QFETCH(QString, typed);
    QFETCH(QString, number);

    FormFixture f;
    const Panel panel = panelOf(*f.form, letter);
    panel.number->setText(typed);
    QCOMPARE(panel.number->text(), number);
    QCOMPARE(panel.number->cursorPosition(), number.size());
}

void MemoriesTest::addTakesThePositionAfterTheListedNumbers_data() {
    QTest::addColumn<QByteArray>("letter");
    QTest::addColumn<int>("listed");
    QTest::addColumn<QString>("position");

    addSides("none listed", [](QTestData& row) { row << 0 << QStringLiteral("1"); });
    addSides("three listed", [](QTestData& row) { row << 3 << QStringLiteral("4"); });
    addSides("seven listed: no position", [](QTestData& row) { row << 7 << QString(); });
}

void MemoriesTest::addTakesThePositionAfterTheListedNumbers() {
    QFETCH(QByteArray, letter);
    QFETCH(int, listed);
    QFETCH(QString, position);

    FormFixture f;
    const Panel panel = panelOf(*f.form, letter);
    listNumbers(panel, listed);
    if (listed > 0) panel.numbers->selectNode(0);
    panel.name->setText(QStringLiteral("25"));
    panel.number->setText(QStringLiteral("+420603111222"));
    panel.add->click();
    QVERIFY(!panel.numbers->hasSelection());
    QCOMPARE(panel.position->currentText(), position);
    QCOMPARE(panel.label->text(), preview(letter, QStringLiteral("25"), position));
    // The new number goes to the memory or button that was selected.
    QCOMPARE(panel.name->text(), QStringLiteral("25"));
    QCOMPARE(panel.number->text(), QStringLiteral("+420603111222"));
}

void MemoriesTest::writesOverTheSelectedNumberOrIntoANewLocation_data() {
    QTest::addColumn<QByteArray>("letter");
    QTest::addColumn<bool>("select");
    QTest::addColumn<bool>("add");
    QTest::addColumn<QByteArray>("command");

    addSides("nothing selected: the first free location",
             [](QTestData& row) { row << false << false << QByteArray("AT+CPBW=,+420777,,%25-3\r\n"); });
    addSides("a selected number is overwritten with the panel's name and position",
             [](QTestData& row) { row << true << false << QByteArray("AT+CPBW=32,+420777,,%25-3\r\n"); });
    addSides("after Add: a new location, at the next position",
             [](QTestData& row) { row << true << true << QByteArray("AT+CPBW=,+420777,,%25-4\r\n"); });
}

void MemoriesTest::writesOverTheSelectedNumberOrIntoANewLocation() {
    QFETCH(QByteArray, letter);
    QFETCH(bool, select);
    QFETCH(bool, add);
    QFETCH(QByteArray, command);

    FormFixture f;
    const Panel panel = panelOf(*f.form, letter);
    listNumbers(panel, 3);
    if (select) panel.numbers->selectNode(1);
    panel.name->setText(QStringLiteral("25"));
    panel.position->setCurrentIndex(2);
    panel.number->setText(QStringLiteral("+420777"));
    if (add) panel.add->click();
    f.port.clearSent();
    panel.write->click();
    QCOMPARE(f.port.sent, QByteArrayList{command.replace('%', letter)});
    QVERIFY(f.form->dialogue.rereadPending);
}

void MemoriesTest::aClickedNumberIsRewrittenInItsLocation_data() {
    QTest::addColumn<QByteArray>("letter");
    addSides("unchanged", [](QTestData&) {});
}

void MemoriesTest::aClickedNumberIsRewrittenInItsLocation() {
    QFETCH(QByteArray, letter);

    FormFixture f;
    const Panel panel = panelOf(*f.form, letter);
    panel.numbers->addNode("31:" + letter + "25-2[+420603111222]");
    panel.numbers->selectNode(0);
    emit panel.numbers->itemClicked(panel.numbers->topLevelItem(0), 0);
    QCOMPARE(panel.label->text(), preview(letter, QStringLiteral("25"), QStringLiteral("2")));
    f.port.clearSent();
    panel.write->click();
    QCOMPARE(f.port.sent, QByteArrayList{"AT+CPBW=31,+420603111222,," + letter + "25-2\r\n"});
}

void MemoriesTest::detectionOnAndOff_data() {
    QTest::addColumn<QList<QByteArrayList>>("readBacks");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QByteArrayList>("commands");

    const QByteArrayList found{"+CPBR: (1-250)", "OK", entryLine(40, "1", "DETECT"), "OK"};
    const QByteArrayList gone{"+CPBR: (1-250)", "OK", entryLine(40, "+420603111222", "ADMIN1"), "OK"};
    QTest::newRow("ticking with no entry read: a new location")
        << QList<QByteArrayList>{} << false << QByteArrayList{"AT+CPBW=,1,,DETECT\r\n", "AT#SPN\r\n"};
    QTest::newRow("unticking clears the location the last read-back found it in")
        << QList<QByteArrayList>{found} << true << QByteArrayList{"AT+CPBW=40\r\n", "AT#SPN\r\n"};
    QTest::newRow("unticking when the last read-back no longer found it clears nothing")
        << QList<QByteArrayList>{found, gone} << true << QByteArrayList{"AT#SPN\r\n"};
    QTest::newRow("unticking with no entry read clears nothing")
        << QList<QByteArrayList>{} << true << QByteArrayList{"AT#SPN\r\n"};
    QTest::newRow("ticking again where the entry was found writes it there")
        << QList<QByteArrayList>{found} << false << QByteArrayList{"AT+CPBW=40,1,,DETECT\r\n", "AT#SPN\r\n"};
    QTest::newRow("ticking again when the last read-back no longer found it: a new location")
        << QList<QByteArrayList>{found, gone} << false
        << QByteArrayList{"AT+CPBW=,1,,DETECT\r\n", "AT#SPN\r\n"};
}

void MemoriesTest::detectionOnAndOff() {
    QFETCH(QList<QByteArrayList>, readBacks);
    QFETCH(bool, ticked);
    QFETCH(QByteArrayList, commands);

    FormFixture f;
    TForm1& form = *f.form;
    for (const QByteArrayList& readBack : readBacks) {
        // The size query as a read-back sends it: its answer starts the read.
        form.unit.send("AT+CPBR=?\r\n");
        f.say(readBack);
    }
    // The box shows what the user left or the read-back found; clicking turns it over.
    form.DetBut->setChecked(ticked);
    f.port.clearSent();
    f.pacer.waits.clear();
    form.DetBut->click();
    QCOMPARE(form.DetBut->isChecked(), !ticked);
    QCOMPARE(f.port.sent, commands);
    QCOMPARE(f.pacer.waits, QList<int>{500});
    if (ticked) QVERIFY(form.state.detectLine.isEmpty());
    QVERIFY(!form.dialogue.rereadPending);
    QVERIFY(f.dialogs.errors.isEmpty());
}

void MemoriesTest::detectionStartsARereadOfTheWholePhonebook() {
    FormFixture f;
    TForm1& form = *f.form;
    form.PhoneBook1->appendLine("DOOR=+420603111222");
    form.dialogue.firstEntryPending = false;
    form.SaveORU->setEnabled(false);
    form.Prubeh->setMaximum(250);
    form.Prubeh->setValue(120);
    for (EntryTree* tree :
         {form.TreeButtons, form.TreeButtonsSel, form.TreeMemo, form.TreeMemoSel, form.TreeCode})
        tree->addNode("9:X[1]");
    form.DetBut->click();
    QCOMPARE(form.Prubeh->value(), 0);
    QVERIFY(form.SaveORU->isEnabled());
    QCOMPARE(form.PhoneBook1->lineCount(), 0);
    QVERIFY(form.dialogue.firstEntryPending);
    QCOMPARE(form.TreeButtons->nodeCount() + form.TreeMemo->nodeCount() + form.TreeCode->nodeCount(), 0);
    // The selection lists go at the read-back's first unclaimed entry.
    QCOMPARE(form.TreeButtonsSel->nodeCount() + form.TreeMemoSel->nodeCount(), 2);
}

QTEST_MAIN(MemoriesTest)
#include "tst_memories.moc"
