#include "SimFormFixture.h"
#include "ViewTexts.h"

#include "files/PhoneBookList.h"
#include "modules/EntryTree.h"
#include "widgets/StatusPanels.h"

#include <QtTest>

// The whole configuration against the simulated unit: Stop reads it into the window, Save programs the SIM
// and reads it back, and a unit that vanishes halfway ends the sequence.
class ProgrammingFlowTest : public QObject {
    Q_OBJECT
private slots:
    void stopReadsTheWholeConfiguration_data();
    void stopReadsTheWholeConfiguration();
    void saveProgramsTheSimAndReadsItBack_data();
    void saveProgramsTheSimAndReadsItBack();
    void unitVanishesMidSequence();
};

namespace {

// A configured unit: settings entries, a version, phone-book rows, module entries and a stray row far up.
QMap<int, SimEntry> configuredSim() {
    return {{1, {"+420603111222", "ADMIN1"}},
            {2, {"+420111", "ABUTTON1"}},
            {3, {"222", "BBUTTON2"}},
            {4, {"Door open", "ALARMON"}},
            {5, {"Door closed", "ALARMOFF"}},
            {6, {"4#6#2#1#0#5#1#3", "PARORU"}},
            {7, {"5#2#07#0", "PARRL1"}},
            {8, {"6#3#10#0", "PARRL2"}},
            {9, {"3#1", "PARKEY"}},
            {10, {"2.14", "VER"}},
            {11, {"+420777", "Alice"}},
            {12, {"555", "B12-1"}},
            {13, {"332", "B3-2"}},
            {14, {"331", "B3-1"}},
            {15, {"777", "M1-1"}},
            {16, {"1#0", "C1234C"}},
            {17, {"1", "DETECT"}},
            {200, {"999", "Late"}}};
}

// The window's configuration as far as programming writes it.
struct Snapshot {
    QStringList edits;
    QByteArrayList grid;
    QByteArray parameters;

    explicit Snapshot(TForm1& form) {
        for (QLineEdit* edit : form.findChildren<QLineEdit*>())
            if (edit->objectName().contains(QLatin1String("BUTTON")) ||
                edit->objectName().startsWith("ADMIN") || edit->objectName().startsWith("ALARM"))
                edits << edit->objectName() + '=' + edit->text();
        edits.sort();
        grid = gridLines(form.PhoneBook1);
        form.ControlsToParams();
        parameters =
            form.state.parOru + ' ' + form.state.parRl1 + ' ' + form.state.parRl2 + ' ' + form.state.parKey;
    }
    bool operator==(const Snapshot&) const = default;
};

char* toString(const Snapshot& snapshot) {
    return QTest::toString(snapshot.edits.join(' ') + " | " + QString::fromLatin1(snapshot.grid.join(' ')) +
                           " | " + QString::fromLatin1(snapshot.parameters));
}

// A stopped window on the configured unit, read back whole. At a real unit's pace the line has its rate, each
// listed record takes its time, and the SIM is still starting when it is first asked.
struct Fixture : SimFormFixture {
    explicit Fixture(SimKind kind = SimKind::Standard, bool realPace = false)
        : SimFormFixture(options(kind, realPace), QStringLiteral("GSMTandor")) {
        click([this] { form->FormCreate(); });
        click([this] { form->StopORUClick(); });
    }
    static SimOptions options(SimKind kind, bool realPace) {
        SimOptions options = realPace ? SimOptions::realistic() : SimOptions();
        if (realPace) options.busyPhonebookCommands = 1;
        options.kind = kind;
        options.phonebook = configuredSim();
        return options;
    }
};

} // namespace

void ProgrammingFlowTest::stopReadsTheWholeConfiguration_data() {
    QTest::addColumn<bool>("realPace");
    QTest::newRow("instant") << false;
    QTest::newRow("at a real unit's pace, SIM busy at first") << true;
}

void ProgrammingFlowTest::stopReadsTheWholeConfiguration() {
    QFETCH(bool, realPace);
    Fixture f(SimKind::Standard, realPace);
    TForm1& form = *f.form;
    QVERIFY(f.dialogs.errors.isEmpty());
    // The busy SIM was asked again rather than given up on.
    QCOMPARE(f.monitorLines().contains(QStringLiteral("(the SIM is busy: asking again)")), realPace);

    QCOMPARE(form.ADMIN[0]->text(), QStringLiteral("+420603111222"));
    QCOMPARE(form.ABUTTON[0]->text(), QStringLiteral("+420111"));
    QCOMPARE(form.AABUTTON[0]->text(), QStringLiteral("+420111"));
    QCOMPARE(form.BBUTTON[1]->text(), QStringLiteral("222"));
    QCOMPARE(form.ALARMON->text(), QStringLiteral("Door open"));
    QCOMPARE(form.ALARMOFF->text(), QStringLiteral("Door closed"));

    // The settings controls, decoded from the parameter strings.
    QCOMPARE(form.VolMic->value(), 4);
    QCOMPARE(form.VolSpk->value(), 2);
    QVERIFY(form.AllCall->isChecked());
    QVERIFY(form.SendSMS->isChecked() && !form.ClockGSM->isChecked());
    QVERIFY(form.TonBeep->isChecked() && !form.TonRing->isChecked() && form.TonVoice->isChecked());
    QVERIFY(form.PortEtons->isChecked());
    QCOMPARE(form.waiting->currentText(), QStringLiteral("30"));
    QVERIFY(form.RelCam1->isChecked());
    QCOMPARE(form.RelTime1->text(), QStringLiteral("07"));
    QVERIFY(form.RelLi2->isChecked());
    QCOMPARE(form.RelTime2->text(), QStringLiteral("10"));
    QCOMPARE(form.WaitBUF->currentText(), QStringLiteral("3"));
    QVERIFY(form.DirectCall->isChecked());

    QCOMPARE(form.StatusBar1->panelText(4), QStringLiteral(" GSM-TD Ver: 2.14"));
    QCOMPARE(gridLines(form.PhoneBook1), (QByteArrayList{"Alice=+420777", "B12-1=555", "B3-2=332", "B3-1=331",
                                                         "M1-1=777", "C1234C=1#0", "DETECT=1", "Late=999"}));
    QCOMPARE(nodes(form.TreeButtons), (QByteArrayList{"12:B12-1[555]", "14:B3-1[331]", "13:B3-2[332]"}));
    QCOMPARE(nodes(form.TreeMemo), QByteArrayList{"15:M1-1[777]"});
    QCOMPARE(nodes(form.TreeCode), QByteArrayList{"16:C1234C[1#0]"});
    QVERIFY(form.DetBut->isChecked());
    QCOMPARE(form.state.detectLine, QByteArray("17:DETECT[1]"));
}

void ProgrammingFlowTest::saveProgramsTheSimAndReadsItBack_data() {
    QTest::addColumn<SimKind>("kind");
    QTest::addColumn<bool>("realPace");
    QTest::newRow("standard") << SimKind::Standard << false;
    QTest::newRow("LTE") << SimKind::Lte << false;
    QTest::newRow("standard at a real unit's pace") << SimKind::Standard << true;
}

void ProgrammingFlowTest::saveProgramsTheSimAndReadsItBack() {
    QFETCH(SimKind, kind);
    QFETCH(bool, realPace);
    Fixture f(kind, realPace);
    TForm1& form = *f.form;
    QVERIFY(form.SaveORU->isEnabled());

    // The installer changes a few things.
    form.ADMIN[1]->setText(QStringLiteral("+420600000002"));
    form.ABUTTON[0]->clear();
    form.ALARMON->setText(QStringLiteral("Break-in!"));
    form.VolMic->setValue(6);
    form.NoCall->setChecked(true);
    form.PhoneBook1->appendLine("Bob=+420888");
    const Snapshot before(form);

    f.click([&] { form.SaveORUClick(); });
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
    QVERIFY(!form.dialogue.is(Dialogue::Phase::Programming));

    // Non-empty fixed entries first, then the grid rows, the rest cleared: VER and the stray row are gone.
    const QByteArray parOru = "2#6#0#1#0#5#1#3";
    const QMap<int, SimEntry> expected{{1, {"+420603111222", "ADMIN1"}},
                                       {2, {"+420600000002", "ADMIN2"}},
                                       {3, {"222", "BBUTTON2"}},
                                       {4, {"Break-in!", "ALARMON"}},
                                       {5, {"Door closed", "ALARMOFF"}},
                                       {6, {parOru, "PARORU"}},
                                       {7, {"5#2#07#0", "PARRL1"}},
                                       {8, {"6#3#10#0", "PARRL2"}},
                                       {9, {"3#1", "PARKEY"}},
                                       {10, {"+420777", "Alice"}},
                                       {11, {"555", "B12-1"}},
                                       {12, {"332", "B3-2"}},
                                       {13, {"331", "B3-1"}},
                                       {14, {"777", "M1-1"}},
                                       {15, {"1#0", "C1234C"}},
                                       {16, {"1", "DETECT"}},
                                       {17, {"999", "Late"}},
                                       {18, {"+420888", "Bob"}}};
    QCOMPARE(f.unit.phonebook(), expected);

    // The read-back after programming shows the same configuration.
    QCOMPARE(form.state.parOru, parOru);
    QCOMPARE(Snapshot(form), before);
    QCOMPARE(nodes(form.TreeButtons), (QByteArrayList{"11:B12-1[555]", "13:B3-1[331]", "12:B3-2[332]"}));
    QCOMPARE(nodes(form.TreeCode), QByteArrayList{"15:C1234C[1#0]"});
    QVERIFY(form.SaveORU->isEnabled() && form.PhoneBook->isEnabled() && form.Prubeh->isHidden());
}

void ProgrammingFlowTest::unitVanishesMidSequence() {
    Fixture f;
    TForm1& form = *f.form;
    form.ADMIN[1]->setText(QStringLiteral("+420600000002"));

    // The full sequence, which writes location after location whatever they hold.
    form.writeEveryLocation = true;
    form.run([&] { form.SaveORUClick(); });
    // Let the sequence run until it has written location 9 at least, then pull the plug.
    for (int turns = 0; turns < 100000 && form.dialogue.done() < 9; ++turns)
        QCoreApplication::processEvents();
    f.port.vanish();
    f.settle();

    // The write already answered counts too.
    QCOMPARE(f.dialogs.errors.size(), 1);
    const QRegularExpressionMatch reached =
        QRegularExpression(QStringLiteral("The last location written was (\\d+) of 250"))
            .match(f.dialogs.errors[0]);
    QVERIFY2(reached.hasMatch(), qPrintable(f.dialogs.errors[0]));
    const int last = reached.captured(1).toInt();
    QVERIFY(last >= 9);
    QVERIFY(!form.dialogue.is(Dialogue::Phase::Programming));
    // The window is free again; the unit's buttons wait for a line.
    QVERIFY(form.PhoneBook->isEnabled() && !form.SaveORU->isEnabled() && !form.StopORU->isEnabled());
    QVERIFY(form.Prubeh->isHidden());
    // Nothing more went out, not even the read-back: the next location keeps its old content.
    QVERIFY(!f.port.isOpen());
    QCOMPARE(f.unit.phonebook().value(2), (SimEntry{"+420600000002", "ADMIN2"}));
    QCOMPARE(f.unit.phonebook().value(last + 1), configuredSim().value(last + 1));

    // With the unit back, Save runs the whole sequence again.
    f.dialogs.errors.clear();
    f.click([&] { form.SaveORUClick(); });
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
    QCOMPARE(f.unit.phonebook().value(11), (SimEntry{"+420777", "Alice"}));
    QCOMPARE(f.unit.phonebook().size(), 18);
}

QTEST_MAIN(ProgrammingFlowTest)
#include "tst_programming_e2e.moc"
