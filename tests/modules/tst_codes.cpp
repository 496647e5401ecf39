#include "FormFixture.h"

#include "modules/EntryTree.h"

#include <QtTest>

// Access codes: the number field of each mode written from its page and read back into it, where a
// write goes, and the code edits' filter and preview.
class CodesTest : public QObject {
    Q_OBJECT
private slots:
    void encodesEachMode_data();
    void encodesEachMode();
    void decodesIntoThePageOfTheMode_data();
    void decodesIntoThePageOfTheMode();
    void writesOverTheSelectedCodeOrIntoANewLocation_data();
    void writesOverTheSelectedCodeOrIntoANewLocation();
    void rewritingACodeSendsWhatItHeld_data();
    void rewritingACodeSendsWhatItHeld();
    void refusesATextTheUnitWouldCutApart();
    void codeEditFilterAndPreview_data();
    void codeEditFilterAndPreview();
};

namespace {

// Controls are named in the tables as "objectName=value": "1"/"0" for check and radio boxes, the text for
// edits, labels and combo boxes.
void setControl(TForm1& form, const QString& assignment) {
    const QString name = assignment.section(QLatin1Char('='), 0, 0);
    const QString value = assignment.section(QLatin1Char('='), 1);
    QWidget* control = form.findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    if (auto* radio = qobject_cast<QRadioButton*>(control))
        TForm1::setRadio(radio, value == QLatin1String("1"));
    else if (auto* box = qobject_cast<QCheckBox*>(control))
        box->setChecked(value == QLatin1String("1"));
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        combo->setCurrentText(value);
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(value);
}

QString controlState(const TForm1& form, const QString& name) {
    const QWidget* control = form.findChild<QWidget*>(name);
    if (!control) return QStringLiteral("no control ") + name;
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) return combo->currentText();
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
    if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text();
    return QStringLiteral("unread control ") + name;
}

void verifyControls(const TForm1& form, const QStringList& expected) {
    for (const QString& assignment : expected) {
        const QString name = assignment.section(QLatin1Char('='), 0, 0);
        QCOMPARE(name + QLatin1Char('=') + controlState(form, name), assignment);
    }
}

// Puts one node into TreeCode, selects it and clicks it.
void clickCode(TForm1& form, const QByteArray& node) {
    form.TreeCode->addNode(node);
    form.TreeCode->selectNode(0);
    form.run([&] { form.OnClickCode(); });
}

} // namespace

void CodesTest::encodesEachMode_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("controls");
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<bool>("readsBack");

    QTest::newRow("normal, relay 2") << 0 << QStringList{"M0Rel2=1"} << QByteArray("2#0") << true;
    QTest::newRow("normal, no relay chosen") << 0 << QStringList{} << QByteArray("0#0") << true;
    QTest::newRow("weekly, relay 1, weekend, access 05")
        << 1 << QStringList{"M1Rel1=1", "Po=0", "Ut=0", "St=0",       "Ct=0",
                            "Pa=0",     "So=1", "Ne=1", "M1Acces=05", "M1SMS=0"}
        << QByteArray("1#1#0000011#05#0") << true;
    QTest::newRow("weekly, relay 2, workdays, any access number, SMS")
        << 1 << QStringList{"M1Rel2=1", "Po=1", "Ut=1", "St=1",       "Ct=1",
                            "Pa=1",     "So=0", "Ne=0", "M1Acces=**", "M1SMS=1"}
        << QByteArray("2#1#1111100#**#1") << true;
    QTest::newRow("date by date, 1 March to 31 December, SMS")
        << 2 << QStringList{"M2Rel1=1", "FromM2=03", "FromD2=01", "ToM2=12", "ToD2=31", "M2SMS=1"}
        << QByteArray("1#2#0301#1231#1") << true;
    QTest::newRow("date by date, any month, day 29")
        << 2 << QStringList{"M2Rel2=1", "FromM2=**", "FromD2=29", "ToM2=**", "ToD2=29", "M2SMS=0"}
        << QByteArray("2#2#**29#**29#0") << true;
    QTest::newRow("by day and month")
        << 3 << QStringList{"M3Rel2=1", "FromM3=12", "FromD3=24", "M3Acces=07", "M3SMS=0"}
        << QByteArray("2#3#1224#07#0") << true;
    QTest::newRow("time by time") << 4
                                  << QStringList{"M4Rel1=1", "FromHours=08", "ToHours=17", "M4Acces=99",
                                                 "M4SMS=1"}
                                  << QByteArray("1#4#08#17#99#1") << true;
    QTest::newRow("time by time, any hour")
        << 4 << QStringList{"M4Rel1=1", "FromHours=**", "ToHours=**", "M4Acces=**", "M4SMS=0"}
        << QByteArray("1#4#**#**#**#0") << true;
    QTest::newRow("a typed access number of another width goes out as typed")
        << 1 << QStringList{"M1Rel1=1", "M1Acces=5"} << QByteArray("1#1#0000000#5#0") << false;
}

void CodesTest::encodesEachMode() {
    QFETCH(int, mode);
    QFETCH(QStringList, controls);
    QFETCH(QByteArray, number);
    QFETCH(bool, readsBack);

    FormFixture writer;
    TForm1& form = *writer.form;
    form.CodeM[mode]->setText(QStringLiteral("4711"));
    for (const QString& control : controls)
        setControl(form, control);
    writer.port.clearSent();
    form.run([&] { form.WriteCodeClick(mode); });
    QCOMPARE(writer.port.sent, QByteArrayList{"AT+CPBW=," + number + ",,C4711C\r\n"});
    QVERIFY(form.dialogue.rereadPending);
    if (!readsBack) return;

    // A fresh window shows the code on its page as it was written, and writes it back unchanged.
    FormFixture reader;
    TForm1& again = *reader.form;
    clickCode(again, "21:C4711C[" + number + "]");
    QCOMPARE(again.ModeCode->currentIndex(), mode);
    verifyControls(again, controls);
    reader.port.clearSent();
    reader.dialogs.confirmAnswers << true;
    again.run([&] { again.WriteCodeClick(mode); });
    QCOMPARE(reader.port.sent, QByteArrayList{"AT+CPBW=21," + number + ",,C4711C\r\n"});
    QVERIFY(reader.dialogs.errors.isEmpty());
}

void CodesTest::decodesIntoThePageOfTheMode_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QByteArray>("node");
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<bool>("fails");

    QTest::newRow("date by date selects items by value")
        << QStringList{} << QByteArray("7:C1234C[1#2#0301#1231#1]") << 2
        << QStringList{"CodeM2=1234", "LabelCodeM2=(C1234C)",
                       "M2Rel1=1",    "FromM2=03",
                       "FromD2=01",   "ToM2=12",
                       "ToD2=31",     "M2SMS=1"}
        << false;
    QTest::newRow("\"**\" hours select the last item, not 00")
        << QStringList{"FromHours=05", "ToHours=06"} << QByteArray("8:C5C[2#4#**#**#03#0]") << 4
        << QStringList{"M4Rel2=1", "FromHours=**", "ToHours=**", "M4Acces=03", "M4SMS=0"} << false;
    QTest::newRow("day 29") << QStringList{} << QByteArray("9:C7C[1#2#0229#0129#0]") << 2
                            << QStringList{"FromD2=29", "ToD2=29"} << false;
    QTest::newRow("a typed text gives way to the decoded item")
        << QStringList{"M1Acces=7"} << QByteArray("3:C1C[1#1#1000001#07#1]") << 1
        << QStringList{"Po=1", "Ut=0", "Ne=1", "M1Acces=07", "M1SMS=1"} << false;
    QTest::newRow("a typed text gives way also to the item already current")
        << QStringList{"M1Acces=*"} << QByteArray("3:C1C[1#1#0000000#**#0]") << 1 << QStringList{"M1Acces=**"}
        << false;
    QTest::newRow("relay digit 0 leaves both relay buttons as they were")
        << QStringList{"M0Rel2=1", "M1Rel1=1"} << QByteArray("3:C1C[0#0]") << 0
        << QStringList{"M0Rel1=0", "M0Rel2=1", "CodeM0=1"} << false;
    QTest::newRow("other pages keep their values")
        << QStringList{"M2Rel2=1", "FromM2=05", "M3SMS=1"} << QByteArray("3:C1C[1#0]") << 0
        << QStringList{"M0Rel1=1", "M2Rel2=1", "FromM2=05", "M3SMS=1"} << false;
    QTest::newRow("an empty code") << QStringList{"CodeM0=55"} << QByteArray("4:CC[1#0]") << 0
                                   << QStringList{"CodeM0=", "LabelCodeM0=(CC)"} << false;
    QTest::newRow("the SMS flag is the last character, wherever the fields ended")
        << QStringList{} << QByteArray("5:C2C[1#3#0101#123#1]") << 3 << QStringList{"M3Acces=12", "M3SMS=1"}
        << false;
    QTest::newRow("a number beyond the list stands as it came")
        << QStringList{} << QByteArray("5:C2C[1#3#1301#01#0]") << 3 << QStringList{"FromM3=13", "FromD3=01"}
        << false;
    QTest::newRow("month 00 stands as it came, not \"**\"")
        << QStringList{} << QByteArray("5:C2C[1#3#0001#01#0]") << 3 << QStringList{"FromM3=00", "FromD3=01"}
        << false;
    QTest::newRow("hour 24 stands as it came, not \"**\"")
        << QStringList{"FromHours=05"} << QByteArray("8:C5C[2#4#24#23#03#0]") << 4
        << QStringList{"FromHours=24", "ToHours=23", "M4Acces=03"} << false;
    QTest::newRow("a mode beyond 4 fills no page") << QStringList{"CodeM0=1"} << QByteArray("6:C9C[1#7#01]")
                                                   << 4 << QStringList{"CodeM0=1", "M0Rel1=0"} << false;
    QTest::newRow("a mode that is not a digit fails before anything is set")
        << QStringList{"CodeM0=1"} << QByteArray("6:C9C[1#x]") << 4 << QStringList{"CodeM0=1"} << true;
    QTest::newRow("a field neither \"**\" nor a number ends the decoding there")
        << QStringList{"FromD2=05", "ToM2=06", "M2SMS=0"} << QByteArray("7:C8C[2#2#03x1#1231#1]") << 2
        << QStringList{"CodeM2=8", "M2Rel2=1", "FromM2=03", "FromD2=05", "ToM2=06", "M2SMS=0"} << true;
    QTest::newRow("a field cut short by the end of the node fails")
        << QStringList{} << QByteArray("7:C8C[2#4#1]") << 4 << QStringList{"CodeM4=8", "M4Rel2=1"} << true;
}

void CodesTest::decodesIntoThePageOfTheMode() {
    QFETCH(QStringList, before);
    QFETCH(QByteArray, node);
    QFETCH(int, page);
    QFETCH(QStringList, after);
    QFETCH(bool, fails);

    FormFixture f;
    TForm1& form = *f.form;
    for (const QString& control : before)
        setControl(form, control);
    f.port.clearSent();
    clickCode(form, node);
    QCOMPARE(form.ModeCode->currentIndex(), page);
    verifyControls(form, after);
    QCOMPARE(f.dialogs.errors.size(), fails ? 1 : 0);
    QVERIFY(f.port.sent.isEmpty());
    QVERIFY(!form.dialogue.rereadPending);
}

void CodesTest::writesOverTheSelectedCodeOrIntoANewLocation_data() {
    QTest::addColumn<QByteArray>("selected");
    QTest::addColumn<bool>("addCode");
    QTest::addColumn<QByteArray>("command");

    QTest::newRow("no code selected: the first free location")
        << QByteArray() << false << QByteArray("AT+CPBW=,1#0,,C42C\r\n");
    QTest::newRow("a selected code of another mode is overwritten")
        << QByteArray("12:C5C[2#4#08#17#**#1]") << false << QByteArray("AT+CPBW=12,1#0,,C42C\r\n");
    QTest::newRow("blanks around the index are trimmed")
        << QByteArray(" 12 :C5C[2#0]") << false << QByteArray("AT+CPBW=12,1#0,,C42C\r\n");
    QTest::newRow("after Add Code: a new location")
        << QByteArray("12:C5C[2#0]") << true << QByteArray("AT+CPBW=,1#0,,C42C\r\n");
    // Writing over a code asks first; not agreed, nothing goes out.
    QTest::newRow("a replacement not agreed") << QByteArray("12:C5C[2#0]") << false << QByteArray();
}

void CodesTest::writesOverTheSelectedCodeOrIntoANewLocation() {
    QFETCH(QByteArray, selected);
    QFETCH(bool, addCode);
    QFETCH(QByteArray, command);

    FormFixture f;
    TForm1& form = *f.form;
    if (!selected.isEmpty()) {
        form.TreeCode->addNode(selected);
        form.TreeCode->selectNode(0);
    }
    if (addCode) form.AddCode->click();
    if (!selected.isEmpty() && !addCode) f.dialogs.confirmAnswers << !command.isEmpty();
    form.CodeM[0]->setText(QStringLiteral("42"));
    TForm1::setRadio(form.MRel1[0], true);
    f.port.clearSent();
    form.WriteCode[0]->click();
    QCOMPARE(f.port.sent, command.isEmpty() ? QByteArrayList() : QByteArrayList{command});
    QCOMPARE(form.dialogue.rereadPending, !command.isEmpty());
    QVERIFY2(f.dialogs.problems().isEmpty(), qPrintable(f.dialogs.problems()));
}

void CodesTest::rewritingACodeSendsWhatItHeld_data() {
    QTest::addColumn<QByteArray>("node");
    QTest::addColumn<int>("mode");
    QTest::newRow("hour 24 and \"**\"") << QByteArray("12:C5C[1#4#24#**#**#0]") << 4;
    QTest::newRow("day and month 00") << QByteArray("7:C31C[2#2#0000#1200#1]") << 2;
    QTest::newRow("month beyond the list") << QByteArray("9:C8C[1#3#1301#05#0]") << 3;
    QTest::newRow("weekly, ordinary") << QByteArray("3:C77C[2#1#1111100#**#1]") << 1;
}

// Showing a code and writing it again sends the number field it came with, field for field.
void CodesTest::rewritingACodeSendsWhatItHeld() {
    QFETCH(QByteArray, node);
    QFETCH(int, mode);
    FormFixture f;
    TForm1& form = *f.form;
    form.TreeCode->addNode(node);
    form.TreeCode->selectNode(0);
    form.run([&form] { form.OnClickCode(); });
    f.port.clearSent();
    f.dialogs.confirmAnswers << true;
    form.WriteCode[mode]->click();
    const qsizetype colon = node.indexOf(':');
    const qsizetype bracket = node.indexOf('[');
    QCOMPARE(f.port.sent,
             QByteArrayList{"AT+CPBW=" + node.left(colon) + ',' + node.mid(bracket + 1).chopped(1) + ",," +
                            node.mid(colon + 1, bracket - colon - 1) + "\r\n"});
    QCOMPARE(f.dialogs.errors, QStringList());
}

void CodesTest::refusesATextTheUnitWouldCutApart() {
    FormFixture f;
    TForm1& form = *f.form;
    form.CodeM[4]->setText(QStringLiteral("9"));
    form.M4Acces->setCurrentText(QStringLiteral("1;"));
    f.port.clearSent();
    form.WriteCode[4]->click();
    QVERIFY(f.port.sent.isEmpty());
    QVERIFY(!form.dialogue.rereadPending);
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY(f.dialogs.errors.first().contains(QLatin1String("semicolon")));
}

void CodesTest::codeEditFilterAndPreview_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("code");

    QTest::newRow("digits stay") << 0 << "0815"
                                 << "0815";
    QTest::newRow("a letter cuts the rest") << 1 << "12a3"
                                            << "12";
    QTest::newRow("at most 15 digits") << 2 << "12345678901234567"
                                       << "123456789012345";
    QTest::newRow("blanks at the ends go") << 3 << " 77 "
                                           << "77";
    QTest::newRow("empty") << 4 << "x"
                           << "";
}

void CodesTest::codeEditFilterAndPreview() {
    QFETCH(int, mode);
    QFETCH(QString, typed);
    QFETCH(QString, code);

    FormFixture f;
    TForm1& form = *f.form;
    form.CodeM[mode]->setText(QStringLiteral("5"));
    form.CodeM[mode]->setText(typed);
    QCOMPARE(form.CodeM[mode]->text(), code);
    QCOMPARE(form.CodeM[mode]->cursorPosition(), code.size());
    QCOMPARE(form.LabelCodeM[mode]->text(), QStringLiteral("(C") + code + QStringLiteral("C)"));
}

QTEST_MAIN(CodesTest)
#include "tst_codes.moc"
