#include "FormFixture.h"

#include <QtTest>

// The settings controls as short texts, so that a table row can say what a decoding leaves.
namespace {

QString checkedName(QButtonGroup* group) {
    return group->checkedButton() ? group->checkedButton()->objectName() : QStringLiteral("none");
}

QString flag(QAbstractButton* box) {
    return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

QString calls(TForm1& f) {
    const int tones = (f.TonBeep->isChecked() ? 1 : 0) + (f.TonRing->isChecked() ? 2 : 0) +
                      (f.TonVoice->isChecked() ? 4 : 0);
    return QStringLiteral("mic %1 spk %2 %3 sms %4 clock %5 tones %6 %7 waiting %8")
        .arg(f.VolMic->value())
        .arg(f.VolSpk->value())
        .arg(checkedName(f.CallGroup), flag(f.SendSMS), flag(f.ClockGSM))
        .arg(tones)
        .arg(checkedName(f.PortGroup))
        .arg(f.waiting->currentIndex());
}

QString relay1(TForm1& f) {
    return QStringLiteral("code %1 %2 time %3 ring %4 all %5")
        .arg(f.RelCode1->text(), checkedName(f.Relay1Group), f.RelTime1->text(), flag(f.RelRing1),
             flag(f.RelRingAll1));
}

QString relay2(TForm1& f) {
    return QStringLiteral("code %1 %2 time %3 ring %4 all %5")
        .arg(f.RelCode2->text(), checkedName(f.Relay2Group), f.RelTime2->text(), flag(f.RelRing2),
             flag(f.RelRingAll2));
}

QString keyboard(TForm1& f) {
    return QStringLiteral("wait '%1' direct %2").arg(f.WaitBUF->currentText(), flag(f.DirectCall));
}

QByteArrayList strings(const SharedState& s) {
    return {s.parOru, s.parRl1, s.parRl2, s.parKey};
}

void decode(FormFixture& fixture, const QByteArrayList& four) {
    SharedState& s = fixture.form->state;
    s.parOru = four[0];
    s.parRl1 = four[1];
    s.parRl2 = four[2];
    s.parKey = four[3];
    fixture.form->run([&] { fixture.form->ParamsToControls(); });
}

// Acts on the controls as a user would, one step per word: "Name" checks a box or radio, "-Name"
// unchecks it, "Name=value" sets a slider's position, a list's item index, an edit's or an editable
// box's text. Every change runs the control's handlers.
void act(TForm1& form, const QString& steps) {
    for (const QString& step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype equals = step.indexOf(QLatin1Char('='));
        const QString name = step.left(equals).remove(QLatin1Char('-'));
        QWidget* control = form.findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        const QString value = step.mid(equals + 1);
        if (auto* radio = qobject_cast<QRadioButton*>(control))
            TForm1::setRadio(radio, !step.startsWith(QLatin1Char('-')));
        else if (auto* box = qobject_cast<QCheckBox*>(control))
            box->setChecked(!step.startsWith(QLatin1Char('-')));
        else if (auto* slider = qobject_cast<QSlider*>(control))
            slider->setValue(value.toInt());
        else if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->setText(value);
        else if (auto* list = qobject_cast<QComboBox*>(control); list && list->isEditable())
            list->setEditText(value);
        else if (list)
            list->setCurrentIndex(value.toInt());
    }
}

} // namespace

class TestParamStrings : public QObject {
    Q_OBJECT
private slots:
    void decoding_data();
    void decoding();
    void encoding_data();
    void encoding();
    void buttonNumbersAreMirrored();
};

void TestParamStrings::decoding_data() {
    QTest::addColumn<QByteArrayList>("before"); // decoded first, when given
    QTest::addColumn<QByteArrayList>("given");
    QTest::addColumn<QString>("calls");
    QTest::addColumn<QString>("relay1");
    QTest::addColumn<QString>("relay2");
    QTest::addColumn<QString>("keyboard");
    QTest::addColumn<QByteArrayList>("stored");  // the strings after decoding
    QTest::addColumn<QByteArrayList>("encoded"); // and after encoding the controls again
    QTest::addColumn<QString>("error");          // the entry a reported failure names

    const QByteArrayList start = {"4#4#0#0#1#7#2#0", "55#1#03#1", "66#1#03#1", "2#0"};
    const QString startCalls = "mic 4 spk 4 NoCall sms 0 clock 1 tones 7 PortESMS waiting 0";
    QTest::newRow("start-up values; relay strings fall back")
        << QByteArrayList() << start << startCalls << "code 5 RelSW1 time 03 ring 1 all 0"
        << "code 6 RelSW2 time 03 ring 1 all 0"
        << "wait '2' direct 0" << QByteArrayList{"4#4#0#0#1#7#2#0", "5#1#03#1", "6#1#03#1", "2#0"}
        << QByteArrayList{"4#4#0#0#1#7#2#2", "5#1#03#1", "6#1#03#1", "2#0"} << "";
    QTest::newRow("all-ringing leaves the all-ringing box alone")
        << QByteArrayList() << QByteArrayList{start[0], "5#5#03#1", "6#0#03#0", "2#0"} << startCalls
        << "code 5 RelSW1 time 03 ring 0 all 1"
        << "code 6 RelSMS2 time 03 ring 0 all 0"
        << "wait '2' direct 0" << QByteArrayList{start[0], "5#5#03#1", "6#0#03#0", "2#0"}
        << QByteArrayList{"4#4#0#0#1#7#2#2", "5#5#03#1", "6#0#03#0", "2#0"} << "";
    QTest::newRow("ringing turns a camera relay into a switch")
        << QByteArrayList() << QByteArrayList{start[0], "5#2#03#1", "6#2#03#0", "2#0"} << startCalls
        << "code 5 RelSW1 time 03 ring 1 all 0"
        << "code 6 RelCam2 time 03 ring 0 all 0"
        << "wait '2' direct 0" << QByteArrayList{start[0], "5#2#03#1", "6#2#03#0", "2#0"}
        << QByteArrayList{"4#4#0#0#1#7#2#2", "5#1#03#1", "6#2#03#0", "2#0"} << "";
    QTest::newRow("ringing overrides hanging up SIM calls")
        << QByteArrayList() << QByteArrayList{"4#4#1#0#1#7#2#0", "5#3#03#1", "6#0#03#0", "2#0"} << startCalls
        << "code 5 RelSW1 time 03 ring 1 all 0"
        << "code 6 RelSMS2 time 03 ring 0 all 0"
        << "wait '2' direct 0" << QByteArrayList{"4#4#1#0#1#7#2#0", "5#3#03#1", "6#0#03#0", "2#0"}
        << QByteArrayList{"4#4#0#0#1#7#2#2", "5#1#03#1", "6#0#03#0", "2#0"} << "";
    QTest::newRow("every field without ringing")
        << QByteArrayList() << QByteArrayList{"1#7#2#1#0#3#1#9", "3#4#10#0", "0#3#99#0", "9#1"}
        << "mic 7 spk 1 AllCall sms 1 clock 0 tones 3 PortEtons waiting 9"
        << "code 3 RelBut1 time 10 ring 0 all 0"
        << "code 0 RelLi2 time 99 ring 0 all 0"
        << "wait '9' direct 1" << QByteArrayList{"1#7#2#1#0#3#1#9", "3#4#10#0", "0#3#99#0", "9#1"}
        << QByteArrayList{"1#7#2#1#0#3#1#9", "3#4#10#0", "0#3#99#0", "9#1"} << "";
    QTest::newRow("volumes held in range")
        << QByteArrayList() << QByteArrayList{"0#9#0#0#0#0#0#0", "5#0#03#0", "6#0#03#0", "2#0"}
        << "mic 7 spk 1 NoCall sms 0 clock 0 tones 0 PortDis waiting 0"
        << "code 5 RelSMS1 time 03 ring 0 all 0"
        << "code 6 RelSMS2 time 03 ring 0 all 0"
        << "wait '2' direct 0" << QByteArrayList{"0#9#0#0#0#0#0#0", "5#0#03#0", "6#0#03#0", "2#0"}
        << QByteArrayList{"1#7#0#0#0#0#0#2", "5#0#03#0", "6#0#03#0", "2#0"} << "";
    QTest::newRow("unknown characters keep the radios but not the port")
        << QByteArrayList{"4#4#2#0#0#0#1#0", "5#2#03#0", "6#3#03#0", "2#0"}
        << QByteArrayList{"4#4#7#0#0#0#9#0", "5#9#03#0", "6#5#03#0", "2#0"}
        << "mic 4 spk 4 AllCall sms 0 clock 0 tones 0 none waiting 0"
        << "code 5 RelCam1 time 03 ring 0 all 0"
        << "code 6 RelLi2 time 03 ring 0 all 0"
        << "wait '2' direct 0" << QByteArrayList{"4#4#7#0#0#0#9#0", "5#9#03#0", "6#5#03#0", "2#0"}
        << QByteArrayList{"4#4#2#0#0#0#0#2", "5#2#03#0", "6#3#03#0", "2#0"} << "";
    QTest::newRow("wrong lengths fall back")
        << QByteArrayList() << QByteArrayList{"4#4", "5#1#3#1", "", "12#0"}
        << "mic 4 spk 4 NoCall sms 0 clock 1 tones 5 PortDis waiting 2"
        << "code 5 RelSW1 time 03 ring 1 all 0"
        << "code 6 RelSW2 time 03 ring 1 all 0"
        << "wait '2' direct 0" << QByteArrayList{"4#4#0#0#1#5#0#2", "5#1#03#1", "6#1#03#1", "2#0"}
        << QByteArrayList{"4#4#0#0#1#5#0#2", "5#1#03#1", "6#1#03#1", "2#0"} << "";
    QTest::newRow("relay code and time pass their filters")
        << QByteArrayList() << QByteArrayList{start[0], "a#1#7x#0", "6#1#00#0", "2#0"} << startCalls
        << "code 0 RelSW1 time 07 ring 0 all 0"
        << "code 6 RelSW2 time 01 ring 0 all 0"
        << "wait '2' direct 0" << QByteArrayList{start[0], "a#1#7x#0", "6#1#00#0", "2#0"}
        << QByteArrayList{"4#4#0#0#1#7#2#2", "0#1#07#0", "6#1#01#0", "2#0"} << "";
    QTest::newRow("keyboard zero selects no wait")
        << QByteArrayList() << QByteArrayList{start[0], "5#1#03#0", "6#1#03#0", "0#1"} << startCalls
        << "code 5 RelSW1 time 03 ring 0 all 0"
        << "code 6 RelSW2 time 03 ring 0 all 0"
        << "wait '' direct 1" << QByteArrayList{start[0], "5#1#03#0", "6#1#03#0", "0#1"}
        << QByteArrayList{"4#4#0#0#1#7#2#2", "5#1#03#0", "6#1#03#0", "#1"} << "";
    QTest::newRow("letter in the tone mask stops decoding there")
        << QByteArrayList{"1#1#0#0#0#7#1#5", "3#3#05#1", "4#4#06#0", "7#1"}
        << QByteArrayList{"4#4#1#1#1#x#2#0", "5#1#03#0", "6#1#03#0", "2#0"}
        << "mic 4 spk 4 SIMCall sms 1 clock 1 tones 0 none waiting 5"
        << "code 3 RelSW1 time 05 ring 0 all 0"
        << "code 4 RelBut2 time 06 ring 0 all 0"
        << "wait '2' direct 0" << QByteArrayList{"4#4#1#1#1#x#2#0", "5#1#03#0", "6#1#03#0", "2#0"}
        << QByteArrayList{"4#4#1#1#1#0#0#5", "3#1#05#0", "4#4#06#0", "2#0"} << "PARORU";
    QTest::newRow("letter in the keyboard wait")
        << QByteArrayList() << QByteArrayList{start[0], "5#1#03#0", "6#1#03#0", "x#1"} << startCalls
        << "code 5 RelSW1 time 03 ring 0 all 0"
        << "code 6 RelSW2 time 03 ring 0 all 0"
        << "wait '2' direct 0" << QByteArrayList{start[0], "5#1#03#0", "6#1#03#0", "x#1"}
        << QByteArrayList{"4#4#0#0#1#7#2#2", "5#1#03#0", "6#1#03#0", "2#0"} << "PARKEY";
}

void TestParamStrings::decoding() {
    QFETCH(QByteArrayList, before);
    QFETCH(QByteArrayList, given);
    FormFixture fixture;
    TForm1& form = *fixture.form;
    if (!before.isEmpty()) decode(fixture, before);
    QCOMPARE(fixture.dialogs.errors, QStringList());

    decode(fixture, given);
    QTEST(calls(form), "calls");
    QTEST(relay1(form), "relay1");
    QTEST(relay2(form), "relay2");
    QTEST(keyboard(form), "keyboard");
    QTEST(strings(form.state), "stored");
    QFETCH(QString, error);
    QCOMPARE(fixture.dialogs.errors.size(), error.isEmpty() ? 0 : 1);
    if (!error.isEmpty())
        QVERIFY2(fixture.dialogs.errors[0].startsWith(error), qPrintable(fixture.dialogs.errors[0]));

    form.ControlsToParams();
    QTEST(strings(form.state), "encoded");
}

void TestParamStrings::encoding_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QByteArrayList>("encoded");

    QTest::newRow("controls as the window opens")
        << "" << QByteArrayList{"1#1#0#0#0#0#0#2", "5#0#03#0", "6#0#03#0", "2#0"};
    QTest::newRow("every field of the calls")
        << "VolMic=4 VolSpk=2 AllCall SendSMS TonBeep TonVoice PortEtons waiting=3"
        << QByteArrayList{"4#6#2#1#0#5#1#3", "5#0#03#0", "6#0#03#0", "2#0"};
    QTest::newRow("all-ringing counts in the function")
        << "RelSW1 RelRingAll1" << QByteArrayList{"1#1#0#0#0#0#0#2", "5#5#03#1", "6#0#03#0", "2#0"};
    QTest::newRow("function weights, code and time")
        << "RelLi1 RelBut2 RelCode2=9 RelTime2=45 RelCam1"
        << QByteArrayList{"1#1#0#0#0#0#0#2", "5#2#03#0", "9#4#45#0", "2#0"};
    QTest::newRow("ringing chooses switch and no hang-up")
        << "AllCall RelCam2 RelRing2" << QByteArrayList{"1#1#0#0#0#0#0#2", "5#0#03#0", "6#1#03#1", "2#0"};
    QTest::newRow("ringing boxes of one relay exclude each other")
        << "RelRing1 RelRingAll1 RelRingAll2 RelRing2"
        << QByteArrayList{"1#1#0#0#0#0#0#2", "5#5#03#1", "6#1#03#1", "2#0"};
    QTest::newRow("another function clears the ringing boxes")
        << "RelRing1 RelRingAll2 RelSMS1 RelCam2"
        << QByteArrayList{"1#1#0#0#0#0#0#2", "5#0#03#0", "6#2#03#0", "2#0"};
    QTest::newRow("hanging up clears SIM ringing only")
        << "RelRing1 RelRingAll2 SIMCall" << QByteArrayList{"1#1#1#0#0#0#0#2", "5#1#03#0", "6#5#03#1", "2#0"};
    QTest::newRow("empty code and time keep their lengths")
        << "RelCode1= RelTime1= RelTime2=00"
        << QByteArrayList{"1#1#0#0#0#0#0#2", "0#0#01#0", "6#0#01#0", "2#0"};
    QTest::newRow("keyboard texts copied as typed")
        << "WaitBUF=12 DirectCall" << QByteArrayList{"1#1#0#0#0#0#0#2", "5#0#03#0", "6#0#03#0", "12#1"};
}

void TestParamStrings::encoding() {
    QFETCH(QString, steps);
    FormFixture fixture;
    act(*fixture.form, steps);
    fixture.form->ControlsToParams();
    QTEST(strings(fixture.form->state), "encoded");
    QCOMPARE(fixture.dialogs.errors, QStringList());
}

void TestParamStrings::buttonNumbersAreMirrored() {
    FormFixture fixture;
    TForm1& form = *fixture.form;
    QTest::keyClicks(form.AABUTTON[2], QStringLiteral("+1234a"));
    QCOMPARE(form.AABUTTON[2]->text(), QStringLiteral("+1234"));
    QCOMPARE(form.ABUTTON[2]->text(), QStringLiteral("+1234"));
    QCOMPARE(form.AABUTTON[2]->cursorPosition(), 5);

    form.ABUTTON[6]->setText(QStringLiteral("123 456"));
    QCOMPARE(form.ABUTTON[6]->text(), QStringLiteral("123"));
    QCOMPARE(form.AABUTTON[6]->text(), QStringLiteral("123"));
    QCOMPARE(form.ABUTTON[2]->text(), QStringLiteral("+1234"));
    QCOMPARE(fixture.dialogs.errors, QStringList());
}

QTEST_MAIN(TestParamStrings)
#include "tst_paramstrings.moc"
