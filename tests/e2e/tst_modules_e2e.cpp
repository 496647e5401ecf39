#include "SimFormFixture.h"
#include "ViewTexts.h"

#include "files/PhoneBookList.h"
#include "modules/EntryTree.h"

#include <QtTest>

// The module pages against the simulated unit: codes, memory and button numbers written, read back into
// their trees, clicked, edited, rewritten in place and deleted; button detection switched on and off.
class ModulesFlowTest : public QObject {
    Q_OBJECT
private slots:
    void codeWrittenEditedAndDeleted();
    void numbersWrittenEditedAndDeleted_data();
    void numbersWrittenEditedAndDeleted();
    void detectionOnAndOff();
    void detectionOffAfterReprogrammingLosesNoEntry();
};

namespace {

// A stopped window on a unit that holds an administrator and one phone-book row, read back whole.
struct Fixture : SimFormFixture {
    Fixture() : SimFormFixture(options()) {
        click([this] { form->FormCreate(); });
        click([this] { form->StopORUClick(); });
    }
    static SimOptions options() {
        SimOptions options;
        options.capacity = 40;
        options.phonebook = {{1, {"+420603111222", "ADMIN1"}}, {2, {"+420777", "Alice"}}};
        return options;
    }
    void press(QAbstractButton* button) {
        button->click();
        settle();
    }
    void clickNode(EntryTree* tree, int index) {
        tree->selectNode(index);
        emit tree->itemClicked(tree->topLevelItem(index), 0);
        settle();
    }
};

// The panel of one side, so that one flow covers memories and buttons.
struct Panel {
    QByteArray letter;
    EntryTree* all;
    EntryTree* numbers;
    QLineEdit* name;
    QComboBox* position;
    QLineEdit* number;
    QPushButton* add;
    QPushButton* write;
    QPushButton* del;
};

Panel panelOf(TForm1& form, const QByteArray& letter) {
    if (letter == "M")
        return {letter,           form.TreeMemo, form.TreeMemoSel, form.Memo,      form.PosMemo,
                form.MemoPNumber, form.AddMemo,  form.WriteMemo,   form.DelMemoSel};
    return {letter,         form.TreeButtons, form.TreeButtonsSel,
            form.Button,    form.PosButton,   form.ButtonPNumber,
            form.AddButton, form.WriteButton, form.DelButtonSel};
}

} // namespace

void ModulesFlowTest::codeWrittenEditedAndDeleted() {
    Fixture f;
    TForm1& form = *f.form;

    // A date-by-date code into the first free location.
    form.ModeCode->setCurrentIndex(2);
    form.CodeM[2]->setText(QStringLiteral("1234"));
    TForm1::setRadio(form.MRel1[2], true);
    form.FromM2->setCurrentIndex(3);
    form.FromD2->setCurrentIndex(1);
    form.ToM2->setCurrentIndex(12);
    form.ToD2->setCurrentIndex(31);
    form.M2SMS->setChecked(true);
    f.press(form.WriteCode[2]);
    QCOMPARE(f.unit.phonebook().value(3), (SimEntry{"1#2#0301#1231#1", "C1234C"}));
    QCOMPARE(nodes(form.TreeCode), QByteArrayList{"3:C1234C[1#2#0301#1231#1]"});

    // Clicked, it comes back into its page.
    form.ToD2->setCurrentIndex(5);
    form.M2SMS->setChecked(false);
    form.ModeCode->setCurrentIndex(0);
    f.clickNode(form.TreeCode, 0);
    QCOMPARE(form.ModeCode->currentIndex(), 2);
    QCOMPARE(form.ToD2->currentText(), QStringLiteral("31"));
    QVERIFY(form.M2SMS->isChecked());

    // Moved to the time-by-time mode, in its own location.
    form.ModeCode->setCurrentIndex(4);
    form.CodeM[4]->setText(QStringLiteral("1234"));
    TForm1::setRadio(form.MRel2[4], true);
    form.FromHours->setCurrentIndex(24);
    form.ToHours->setCurrentIndex(24);
    form.M4Acces->setCurrentIndex(5);
    // Over the chosen code: asked first.
    f.dialogs.confirmAnswers << true;
    f.press(form.WriteCode[4]);
    QCOMPARE(f.unit.phonebook().value(3), (SimEntry{"2#4#**#**#05#0", "C1234C"}));
    QCOMPARE(f.unit.phonebook().size(), 3);
    QCOMPARE(nodes(form.TreeCode), QByteArrayList{"3:C1234C[2#4#**#**#05#0]"});

    // A second code after Add Code goes to a new location; the first one is then deleted.
    f.clickNode(form.TreeCode, 0);
    f.press(form.AddCode);
    form.CodeM[4]->setText(QStringLiteral("99"));
    f.press(form.WriteCode[4]);
    QCOMPARE(nodes(form.TreeCode), (QByteArrayList{"3:C1234C[2#4#**#**#05#0]", "4:C99C[2#4#**#**#05#0]"}));
    f.clickNode(form.TreeCode, 0);
    f.dialogs.confirmAnswers << true;
    f.press(form.DelCode);
    QCOMPARE(nodes(form.TreeCode), QByteArrayList{"4:C99C[2#4#**#**#05#0]"});
    QVERIFY(!f.unit.phonebook().contains(3));
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
}

void ModulesFlowTest::numbersWrittenEditedAndDeleted_data() {
    QTest::addColumn<QByteArray>("letter");
    QTest::newRow("memory") << QByteArray("M");
    QTest::newRow("button") << QByteArray("B");
}

void ModulesFlowTest::numbersWrittenEditedAndDeleted() {
    QFETCH(QByteArray, letter);
    Fixture f;
    const Panel panel = panelOf(*f.form, letter);
    const QByteArray name = letter + "25-";

    // The first number of 25, into the first free location.
    panel.name->setText(QStringLiteral("25"));
    panel.number->setText(QStringLiteral("+420601"));
    f.press(panel.write);
    QCOMPARE(f.unit.phonebook().value(3), (SimEntry{"+420601", name + "1"}));
    QCOMPARE(nodes(panel.all), QByteArrayList{"3:" + name + "1[+420601]"});

    // Chosen in the list of all numbers, 25 gets a second number at the next position.
    f.clickNode(panel.all, 0);
    f.press(panel.add);
    QCOMPARE(panel.position->currentText(), QStringLiteral("2"));
    panel.number->setText(QStringLiteral("+420602"));
    f.press(panel.write);
    QCOMPARE(nodes(panel.numbers), (QByteArrayList{"3:" + name + "1[+420601]", "4:" + name + "2[+420602]"}));

    // The first number, clicked and changed, is rewritten in its location.
    f.clickNode(panel.numbers, 0);
    QCOMPARE(panel.position->currentText(), QStringLiteral("1"));
    QCOMPARE(panel.number->text(), QStringLiteral("+420601"));
    panel.number->setText(QStringLiteral("+420609"));
    f.press(panel.write);
    QCOMPARE(nodes(panel.numbers), (QByteArrayList{"3:" + name + "1[+420609]", "4:" + name + "2[+420602]"}));
    QCOMPARE(f.unit.phonebook().size(), 4);

    f.clickNode(panel.numbers, 1);
    f.dialogs.confirmAnswers << true;
    f.press(panel.del);
    QCOMPARE(nodes(panel.numbers), QByteArrayList{"3:" + name + "1[+420609]"});
    QCOMPARE(nodes(panel.all), QByteArrayList{"3:" + name + "1[+420609]"});
    QVERIFY(!f.unit.phonebook().contains(4));
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
}

void ModulesFlowTest::detectionOnAndOff() {
    Fixture f;
    TForm1& form = *f.form;
    QVERIFY(!form.DetBut->isChecked());

    f.press(form.DetBut);
    QCOMPARE(f.unit.phonebook().value(3), (SimEntry{"1", "DETECT"}));
    QVERIFY(form.DetBut->isChecked());
    QCOMPARE(form.state.detectLine, QByteArray("3:DETECT[1]"));
    QCOMPARE(form.PhoneBook1->lineCount(), 2);

    f.press(form.DetBut);
    QVERIFY(!form.DetBut->isChecked());
    QVERIFY(form.state.detectLine.isEmpty());
    QCOMPARE(f.unit.phonebook().size(), 2);
    QCOMPARE(form.PhoneBook1->lineCount(), 1);
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
}

void ModulesFlowTest::detectionOffAfterReprogrammingLosesNoEntry() {
    Fixture f;
    TForm1& form = *f.form;
    f.press(form.DetBut);
    QCOMPARE(form.state.detectLine, QByteArray("3:DETECT[1]"));

    // Without its grid row, programming leaves no "DETECT" entry, and location 3 holds a setting now.
    form.PhoneBook1->deleteLine(form.PhoneBook1->findName("DETECT"));
    f.click([&] { form.SaveORUClick(); });
    QVERIFY(form.DetBut->isChecked());
    const SimEntry third = f.unit.phonebook().value(3);
    QVERIFY(third.name != "DETECT");

    f.press(form.DetBut);
    QVERIFY(!form.DetBut->isChecked());
    QCOMPARE(f.unit.phonebook().value(3), third);
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
}

QTEST_MAIN(ModulesFlowTest)
#include "tst_modules_e2e.moc"
