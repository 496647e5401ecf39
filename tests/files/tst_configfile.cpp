#include "FormFixture.h"

#include "TestData.h"
#include "config/FixedEntries.h"

#include "core/Bytes.h"
#include "files/PhoneBookList.h"

#include <QtTest>

#include <sys/stat.h>

namespace {

const QString OruFilter = QStringLiteral("ORU files (*.oru)|*.oru");

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void save(FormFixture& fixture, const QString& path) {
    fixture.dialogs.saveAnswers << path;
    fixture.form->Save->click();
}

void load(FormFixture& fixture, const QString& path) {
    fixture.dialogs.openAnswers << path;
    fixture.form->Load->click();
}

QByteArrayList strings(const SharedState& s) {
    return {s.parOru, s.parRl1, s.parRl2, s.parKey};
}

// Every edit the file holds, and the mirrors of the A-button numbers.
QByteArrayList edits(TForm1& f) {
    QByteArrayList all;
    for (const auto* group : {&f.ADMIN, &f.ABUTTON, &f.AABUTTON, &f.BBUTTON})
        for (QLineEdit* edit : *group)
            all << toBytes(edit->text());
    return all << toBytes(f.ALARMON->text()) << toBytes(f.ALARMOFF->text());
}

} // namespace

class TestConfigFile : public QObject {
    Q_OBJECT
private slots:
    void saveThenLoadRestoresEverything();
    void savingAtStartUp();
    void keyRules_data();
    void keyRules();
    void undecodableParameterIsReportedOnce();
    void unreadableFileKeepsPhoneBook();
    void utf8FileWithItsMark();
    void brokenFileChangesNothing_data();
    void brokenFileChangesNothing();
    void saveEncodesChangedSettings_data();
    void saveEncodesChangedSettings();
};

void TestConfigFile::saveThenLoadRestoresEverything() {
    FormFixture first;
    TForm1& a = *first.form;
    for (int i = 0; i < 7; ++i) {
        a.ADMIN[i]->setText(QStringLiteral("+42060000000%1").arg(i));
        a.ABUTTON[i]->setText(QStringLiteral("*#1%1").arg(i));
        a.BBUTTON[i]->setText(QStringLiteral("60%1").arg(i));
    }
    a.ALARMON->setText(fromBytes("Alarm on, zone=1 \t\xe9\xb9\xa0!"));
    a.ALARMOFF->setText(QString());
    const QByteArrayList parameters{"1#7#2#1#0#3#1#9", "3#4#10#0", "0#5#99#1", "9#1"};
    for (int i = 0; i < 4; ++i)
        a.takeParameter(FixedEntries::FirstParameter + i, parameters[i]);
    a.ParamsToControls();
    a.PhoneBook1->setText("Jan=123\r\nADMIN1=999\r\nnote\r\nx=1=2\r\n\xc8\xe1=\xff\r\n");
    const QString path = first.path(QStringLiteral("unit.oru"));
    save(first, path);

    QByteArray expected;
    for (int i = 0; i < 7; ++i)
        expected += "ADMIN" + QByteArray::number(i + 1) + "=+42060000000" + QByteArray::number(i) + "\r\n";
    for (int i = 0; i < 7; ++i)
        expected += "ABUTTON" + QByteArray::number(i + 1) + "=*#1" + QByteArray::number(i) + "\r\n";
    for (int i = 0; i < 7; ++i)
        expected += "BBUTTON" + QByteArray::number(i + 1) + "=60" + QByteArray::number(i) + "\r\n";
    expected += "ALARMON=Alarm on, zone=1 \t\xe9\xb9\xa0!\r\nALARMOFF=\r\n"
                "PARORU=1#7#2#1#0#3#1#9\r\nPARRL1=3#4#10#0\r\nPARRL2=0#5#99#1\r\nPARKEY=9#1\r\n"
                "Jan=123\r\nADMIN1=999\r\nnote\r\nx=1=2\r\n\xc8\xe1=\xff\r\n";
    QCOMPARE(readFile(path), expected);

    FormFixture second;
    TForm1& b = *second.form;
    load(second, path);
    QCOMPARE(edits(b), edits(a));
    QCOMPARE(strings(b.state), strings(a.state));
    QCOMPARE(b.PhoneBook1->text(), a.PhoneBook1->text());
    QVERIFY(b.NoCall->isChecked() && b.PortEtons->isChecked() && b.SendSMS->isChecked());
    QVERIFY(b.RelBut1->isChecked() && b.RelSW2->isChecked() && b.RelRingAll2->isChecked());
    QCOMPARE(b.WaitBUF->currentText(), QStringLiteral("9"));
    QVERIFY(b.DirectCall->isChecked());

    const QString again = second.path(QStringLiteral("again.oru"));
    save(second, again);
    QCOMPARE(readFile(again), expected);
    QCOMPARE(first.dialogs.filters, QStringList{OruFilter});
    QCOMPARE(second.dialogs.filters, QStringList({OruFilter, OruFilter}));
    for (FormFixture* fixture : {&first, &second}) {
        QCOMPARE(fixture->dialogs.errors, QStringList());
        QCOMPARE(fixture->dialogs.problems(), QString());
    }
}

// A fresh window saves what it shows, the settings as its controls encode them, so that the file loads
// back into the same window and saves again to the same bytes.
void TestConfigFile::savingAtStartUp() {
    FormFixture fixture;
    const QString path = fixture.path(QStringLiteral("fresh.oru"));
    save(fixture, path);
    const QByteArray saved = readFile(path);
    QCOMPARE(saved.count("\r\n"), 27);
    QVERIFY2(saved.endsWith("ALARMON=\r\nALARMOFF=\r\nPARORU=1#1#0#0#0#0#0#2\r\nPARRL1=5#0#03#0\r\n"
                            "PARRL2=6#0#03#0\r\nPARKEY=2#0\r\n"),
             saved.constData());

    FormFixture other;
    load(other, path);
    const QString again = other.path(QStringLiteral("again.oru"));
    save(other, again);
    QCOMPARE(readFile(again), saved);
    QCOMPARE(other.form->PhoneBook1->lineCount(), 0);
    QCOMPARE(other.dialogs.problems(), QString());
}

void TestConfigFile::keyRules_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("admin1");
    QTest::addColumn<QString>("admin3");
    QTest::addColumn<QString>("alarmOn");
    QTest::addColumn<QByteArray>("parKey");
    QTest::addColumn<QByteArray>("rows");

    // Before each load: ADMIN1 "111", ADMIN3 "333", ALARMON "on", parKey "3#1".
    QTest::newRow("key letter case ignored") << QByteArray("admin1=123\r\nAlarmOn=x\r\n") << "123"
                                             << "333"
                                             << "x" << QByteArray("3#1") << QByteArray();
    QTest::newRow("repeated key: the second stays a row")
        << QByteArray("ADMIN1=123\r\nADMIN1=456\r\n") << "123"
        << "333"
        << "on" << QByteArray("3#1") << QByteArray("ADMIN1=456\r\n");
    QTest::newRow("equals sign inside a value")
        << QByteArray("ADMIN1=12=3\r\nALARMON=a=b\r\nx=1=2\r\n") << "12"
        << "333"
        << "a=b" << QByteArray("3#1") << QByteArray("x=1=2\r\n");
    QTest::newRow("numbers filtered, alarm texts not")
        << QByteArray("ADMIN1=123 456\r\nALARMON= door open, code 5 \r\n") << "123"
        << "333"
        << " door open, code 5 " << QByteArray("3#1") << QByteArray();
    QTest::newRow("missing keys keep the current values")
        << QByteArray("x=1\nnote\n\n") << "111"
        << "333"
        << "on" << QByteArray("3#1") << QByteArray("x=1\r\nnote\r\n\r\n");
    QTest::newRow("parameter key stored and decoded") << QByteArray("PARKEY=5#1") << "111"
                                                      << "333"
                                                      << "on" << QByteArray("5#1") << QByteArray();
    QTest::newRow("byte-order mark before the first key")
        << QByteArray("\xEF\xBB\xBF"
                      "ADMIN1=123\r\nJan=1\r\n")
        << "123"
        << "333"
        << "on" << QByteArray("3#1") << QByteArray("Jan=1\r\n");
    QTest::newRow("key must be the whole name")
        << QByteArray("ADMIN=1\r\nADMIN33=2\r\nADMIN3 =4\r\n") << "111"
        << "333"
        << "on" << QByteArray("3#1") << QByteArray("ADMIN=1\r\nADMIN33=2\r\nADMIN3 =4\r\n");
}

void TestConfigFile::keyRules() {
    QFETCH(QByteArray, file);
    FormFixture fixture;
    TForm1& form = *fixture.form;
    form.ADMIN[0]->setText(QStringLiteral("111"));
    form.ADMIN[2]->setText(QStringLiteral("333"));
    form.ALARMON->setText(QStringLiteral("on"));
    form.state.parKey = "3#1";
    const QString path = fixture.path(QStringLiteral("rules.oru"));
    writeFile(path, file);
    load(fixture, path);
    QTEST(form.ADMIN[0]->text(), "admin1");
    QTEST(form.ADMIN[2]->text(), "admin3");
    QTEST(form.ALARMON->text(), "alarmOn");
    QTEST(form.state.parKey, "parKey");
    QTEST(form.PhoneBook1->text(), "rows");
    QCOMPARE(fixture.dialogs.errors, QStringList());
    QCOMPARE(fixture.dialogs.problems(), QString());
}

// The rest of the file still reaches its places; the value that could not be decoded stays as it came.
void TestConfigFile::undecodableParameterIsReportedOnce() {
    FormFixture fixture;
    TForm1& form = *fixture.form;
    const QString path = fixture.path(QStringLiteral("bad.oru"));
    writeFile(path,
              "PARORU=4#4#0#0#1#x#2#0\r\nPARRL1=3#4#10#0\r\nPARRL2=0#5#99#1\r\nPARKEY=9#1\r\nJan=1\r\n");
    load(fixture, path);
    QCOMPARE(fixture.dialogs.errors.size(), 1);
    QVERIFY2(fixture.dialogs.errors[0].startsWith(path + QStringLiteral(", line 1: PARORU")),
             qPrintable(fixture.dialogs.errors[0]));
    QCOMPARE(strings(form.state), QByteArrayList({"4#4#0#0#1#x#2#0", "3#4#10#0", "0#5#99#1", "9#1"}));
    QCOMPARE(form.PhoneBook1->text(), QByteArray("Jan=1\r\n"));

    const QString saved = fixture.path(QStringLiteral("saved.oru"));
    save(fixture, saved);
    QVERIFY(readFile(saved).contains(
        "\r\nPARORU=4#4#0#0#1#x#2#0\r\nPARRL1=3#4#10#0\r\nPARRL2=0#5#99#1\r\nPARKEY=9#1\r\nJan=1\r\n"));
    QCOMPARE(fixture.dialogs.problems(), QString());
}

void TestConfigFile::unreadableFileKeepsPhoneBook() {
    FormFixture fixture;
    fixture.form->PhoneBook1->setText("Jan=1\r\n");
    load(fixture, fixture.path(QStringLiteral("missing.oru")));
    QCOMPARE(fixture.dialogs.errors.size(), 1);
    QCOMPARE(fixture.form->PhoneBook1->text(), QByteArray("Jan=1\r\n"));
    QCOMPARE(fixture.dialogs.problems(), QString());
}

// An editor that saves as UTF-8 marks the file so: its letters arrive in the code page, and one the code
// page lacks is named with its line before anything changes.
void TestConfigFile::utf8FileWithItsMark() {
    FormFixture fixture;
    setCodePage(CodePage::Windows1250);
    const auto restore = qScopeGuard([] { setCodePage(CodePage::ofSystem()); });
    TForm1& form = *fixture.form;
    const QString path = fixture.path(QStringLiteral("utf8.oru"));
    writeFile(path, "\xEF\xBB\xBF" + QStringLiteral("ALARMON=Dveře otevřeny\r\nŘezníček=603\r\n").toUtf8());
    load(fixture, path);
    QCOMPARE(form.ALARMON->text(), QStringLiteral("Dveře otevřeny"));
    QCOMPARE(form.PhoneBook1->text(), QByteArray("\xd8"
                                                 "ezn\xed\xe8"
                                                 "ek=603\r\n"));
    QCOMPARE(fixture.dialogs.errors, QStringList());

    writeFile(path, "\xEF\xBB\xBF" + QStringLiteral("ALARMON=open\r\nДмитрий=604\r\n").toUtf8());
    load(fixture, path);
    QCOMPARE(fixture.dialogs.errors.size(), 1);
    QVERIFY2(fixture.dialogs.errors[0].contains(path + QStringLiteral(", line 2: ")),
             qPrintable(fixture.dialogs.errors[0]));
    QVERIFY2(fixture.dialogs.errors[0].contains(QStringLiteral("\"Д\"")),
             qPrintable(fixture.dialogs.errors[0]));
    QCOMPARE(form.ALARMON->text(), QStringLiteral("Dveře otevřeny"));
}

void TestConfigFile::brokenFileChangesNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    // Words the error must hold besides the file's name.
    QTest::addColumn<QString>("reason");
    QByteArray random(4096, 0);
    for (qsizetype i = 0; i < random.size(); ++i)
        random[i] = char((i * 7919 + 13) % 251);
    QByteArray controls;
    for (int i = 0; i < 100; ++i)
        controls += "A=\x01\x02\x03\x1b\r\n";
    QTest::newRow("binary bytes") << "random.oru" << random << "line ";
    QTest::newRow("NUL byte on line 3")
        << "nul.oru" << QByteArray("ADMIN1=1\r\nPARORU=4#4#0#0#1#0#2#0\r\nx") + '\0' + "y\r\n"
        << "line 3: a NUL byte";
    QTest::newRow("mostly control characters") << "controls.oru" << controls << "does not hold text";
    QTest::newRow("empty") << "empty.oru" << QByteArray() << "empty";
    QTest::newRow("no name=value line")
        << "prose.oru" << QByteArray("Dear installer,\r\nsee you.\r\n") << "no line holds a name";
    QTest::newRow("value longer than its edit")
        << "long.oru"
        << "ADMIN1=1\r\nALARMON=" + QByteArray(40000, 'a') + "\r\n"
        << "line 2: the value of ALARMON is longer than its 32767 characters";
    // Made by the test: a FIFO nobody writes to, and a link to a device without end.
    QTest::newRow("FIFO") << "fifo.oru" << QByteArray() << "not a regular file";
    QTest::newRow("link to /dev/zero") << "zero.oru" << QByteArray() << "not a regular file";
}

// A file that is no configuration, or one that cannot be taken whole, is refused before anything changes.
void TestConfigFile::brokenFileChangesNothing() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    FormFixture fixture;
    TForm1& form = *fixture.form;
    form.ADMIN[0]->setText(QStringLiteral("111"));
    form.ALARMON->setText(QStringLiteral("on"));
    form.TonBeep->setChecked(true);
    form.state.parOru = "4#4#0#0#1#1#2#0";
    form.PhoneBook1->setText("Jan=1\r\n");
    const QString path = fixture.path(name);
    if (name == QStringLiteral("fifo.oru"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (name == QStringLiteral("zero.oru"))
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    else
        writeFile(path, content);
    const QByteArrayList before = edits(form) + strings(form.state);
    load(fixture, path);
    QCOMPARE(fixture.dialogs.errors.size(), 1);
    QVERIFY2(fixture.dialogs.errors[0].contains(path), qPrintable(fixture.dialogs.errors[0]));
    QVERIFY2(fixture.dialogs.errors[0].contains(reason), qPrintable(fixture.dialogs.errors[0]));
    QCOMPARE(edits(form) + strings(form.state), before);
    QVERIFY(form.TonBeep->isChecked());
    QCOMPARE(form.PhoneBook1->text(), QByteArray("Jan=1\r\n"));
    QCOMPARE(fixture.dialogs.problems(), QString());
}

void TestConfigFile::saveEncodesChangedSettings_data() {
    QTest::addColumn<QString>("action");
    // Which of PARORU, PARRL1, PARRL2 and PARKEY the file takes from the controls.
    QTest::addColumn<QList<bool>>("encoded");
    QTest::newRow("nothing touched") << "none" << QList<bool>{false, false, false, false};
    QTest::newRow("speaker volume moved") << "VolSpk" << QList<bool>{true, false, false, false};
    QTest::newRow("tone clicked") << "TonRing" << QList<bool>{true, false, false, false};
    QTest::newRow("relay ringing switched off") << "RelRing1" << QList<bool>{false, true, false, false};
    QTest::newRow("hanging up also clears the relays' ringing")
        << "SIMCall" << QList<bool>{true, true, true, false};
    QTest::newRow("relay 2 code typed") << "RelCode2" << QList<bool>{false, false, true, false};
    QTest::newRow("waiting time chosen") << "WaitBUF" << QList<bool>{false, false, false, true};
    QTest::newRow("changed, then read from the unit again")
        << "VolSpk then read" << QList<bool>{false, false, false, false};
    QTest::newRow("changed, then a file loaded")
        << "VolSpk then load" << QList<bool>{false, false, false, false};
}

// What the user set is what the file holds; an untouched string stays as it came, also when malformed.
void TestConfigFile::saveEncodesChangedSettings() {
    QFETCH(QString, action);
    QFETCH(QList<bool>, encoded);
    FormFixture fixture;
    TForm1& form = *fixture.form;
    // Strings the decoder reads with its fallbacks, or shows in a form that encodes otherwise.
    QByteArrayList came{"4#4#1#0#1#7#2#0", "55#1#03#1", "66#1#03#1", "2#0 "};
    const QString loaded = fixture.path(QStringLiteral("loaded.oru"));
    writeFile(loaded, "PARORU=" + came[0] + "\r\nPARRL1=" + came[1] + "\r\nPARRL2=" + came[2] +
                          "\r\nPARKEY=" + came[3] + "\r\n");
    load(fixture, loaded);
    if (action.startsWith(QStringLiteral("VolSpk")))
        form.VolSpk->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (action == QStringLiteral("TonRing"))
        form.TonRing->click();
    else if (action == QStringLiteral("RelRing1"))
        form.RelRing1->click();
    else if (action == QStringLiteral("SIMCall"))
        form.SIMCall->click();
    else if (action == QStringLiteral("RelCode2"))
        QTest::keyClicks(form.RelCode2, QStringLiteral("7"));
    else if (action == QStringLiteral("WaitBUF"))
        QTest::keyClick(form.WaitBUF, Qt::Key_Down);
    if (action.endsWith(QStringLiteral("read"))) {
        came[0] = "4#4#0#0#1#7#2#1";
        form.takeParameter(FixedEntries::FirstParameter, came[0]);
        form.ParamsToControls();
    }
    if (action.endsWith(QStringLiteral("load"))) load(fixture, loaded);

    const QString path = fixture.path(QStringLiteral("saved.oru"));
    save(fixture, path);
    const std::array<QByteArray, 4> fromControls = form.encodedParameters();
    QByteArrayList expected;
    for (int i = 0; i < 4; ++i)
        expected << (encoded[i] ? fromControls[i] : came[i]);
    QVERIFY(encoded.contains(true) == (expected != came));
    QByteArrayList saved;
    for (const QByteArray& line : readFile(path).split('\n').mid(23, 4))
        saved << line.sliced(line.indexOf('=') + 1).chopped(1);
    QCOMPARE(saved, expected);
    QCOMPARE(fixture.dialogs.errors, QStringList());
    QCOMPARE(fixture.dialogs.problems(), QString());
}

QTEST_MAIN(TestConfigFile)
#include "tst_configfile.moc"
