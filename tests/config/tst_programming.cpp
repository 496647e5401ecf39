#include "FormFixture.h"

#include "files/PhoneBookList.h"
#include "modules/EntryTree.h"

#include <QtTest>

// The programming sequence against the test port: what each "OK" writes, the lock of the window, the
// refusal of values the unit would cut apart, and the end of the sequence when the port is lost.
class ProgrammingTest : public QObject {
    Q_OBJECT
private slots:
    void steps_data();
    void steps();
    void logsEveryStep();
    void locksTheWindowUntilTheEnd();
    void lteModuleGetsItsTonesBack();
    void errorAnswerEndsTheSequence();
    void refusesValuesTheUnitWouldCutApart_data();
    void refusesValuesTheUnitWouldCutApart();
    void lostPortEndsTheSequence_data();
    void lostPortEndsTheSequence();
};

namespace {

// A window after start-up, with its start-up traffic and log forgotten.
struct Fixture : FormFixture {
    Fixture() { forgetStartup(); }

    // Answers "OK" until the sequence ends; at most limit times.
    void answerUntilTheEnd(int limit = 400) {
        for (int i = 0; i < limit && form->dialogue.is(Dialogue::Phase::Programming); ++i)
            say({"OK"});
    }
};

QStringList untimed(const QStringList& lines) {
    QStringList result;
    for (const QString& line : lines)
        if (!line.startsWith(QLatin1Char('['))) result << line;
    return result;
}

// "23*AT" stands for 23 probes; {PARORU} and the like for the parameter strings as encoded at the start.
QByteArrayList expand(const QByteArrayList& script, const SharedState& state) {
    QByteArrayList commands;
    for (QByteArray line : script) {
        if (const qsizetype star = line.indexOf("*AT"); star > 0) {
            for (int i = line.left(star).toInt(); i > 0; --i)
                commands << "AT";
            continue;
        }
        line.replace("{PARORU}", state.parOru)
            .replace("{PARRL1}", state.parRl1)
            .replace("{PARRL2}", state.parRl2)
            .replace("{PARKEY}", state.parKey);
        commands << line;
    }
    return commands;
}

// Clears of the locations from … to.
QByteArrayList clears(int from, int to) {
    QByteArrayList commands;
    for (int location = from; location <= to; ++location)
        commands << "AT+CPBW=" + QByteArray::number(location);
    return commands;
}

QByteArrayList parameters(int first) {
    return {"AT+CPBW=" + QByteArray::number(first) + ",{PARORU},,PARORU",
            "AT+CPBW=" + QByteArray::number(first + 1) + ",{PARRL1},,PARRL1",
            "AT+CPBW=" + QByteArray::number(first + 2) + ",{PARRL2},,PARRL2",
            "AT+CPBW=" + QByteArray::number(first + 3) + ",{PARKEY},,PARKEY"};
}

} // namespace

using Texts = QMap<QString, QString>;

void ProgrammingTest::steps_data() {
    QTest::addColumn<int>("capacity");
    // Edit object names and their texts.
    QTest::addColumn<Texts>("edits");
    QTest::addColumn<QByteArray>("grid");
    // Everything sent from the start, the probe first and the read-back last.
    QTest::addColumn<QByteArrayList>("sent");

    QTest::newRow("empty edits are skipped, the next entry takes their location")
        << 8 << Texts{{"ADMIN1", "111"}, {"ADMIN3", "333"}, {"ALARMON", "Alarm on"}} << QByteArray()
        << QByteArrayList{"AT",    "AT+CPBW=1,111,,ADMIN1",       "AT", "AT+CPBW=2,333,,ADMIN3",
                          "18*AT", "AT+CPBW=3,Alarm on,,ALARMON", "AT"} +
               parameters(4) + QByteArrayList{"AT", "AT+CPBW=8", "AT+CPBR=1,8"};
    QTest::newRow("every fixed entry in its order")
        << 30 << Texts{{"ADMIN7", "7"},     {"ABUTTON1", "+421"}, {"BBUTTON7", "*7#"},
                       {"ALARMOFF", "OFF"}, {"ADMIN1", "1"},      {"BBUTTON1", "99"}}
        << QByteArray("A=1")
        << QByteArrayList{"AT",
                          "AT+CPBW=1,1,,ADMIN1",
                          "5*AT",
                          "AT+CPBW=2,7,,ADMIN7",
                          "AT+CPBW=3,+421,,ABUTTON1",
                          "6*AT",
                          "AT+CPBW=4,99,,BBUTTON1",
                          "5*AT",
                          "AT+CPBW=5,*7#,,BBUTTON7",
                          "AT",
                          "AT+CPBW=6,OFF,,ALARMOFF"} +
               parameters(7) + QByteArrayList{"AT+CPBW=11,1,,A"} + clears(12, 30) +
               QByteArrayList{"AT+CPBR=1,30"};
    QTest::newRow("grid rows follow in grid order, incomplete rows are skipped")
        << 9 << Texts{} << QByteArray("Bob=22\n=5\nNoNumber=\nplain text\nB1-1=+420\nBob=23")
        << QByteArrayList{"AT", "23*AT"} + parameters(1) +
               QByteArrayList{
                   "AT+CPBW=5,22,,Bob", "AT",        "AT",        "AT",         "AT+CPBW=6,+420,,B1-1",
                   "AT+CPBW=7,23,,Bob", "AT+CPBW=8", "AT+CPBW=9", "AT+CPBR=1,9"};
    QTest::newRow("a number keeps everything after the first =")
        << 5 << Texts{} << QByteArray("K=1=2")
        << QByteArrayList{"AT", "23*AT"} + parameters(1) + QByteArrayList{"AT+CPBW=5,1=2,,K", "AT+CPBR=1,5"};
    QTest::newRow("an empty grid costs one filler step before the clearing")
        << 6 << Texts{} << QByteArray()
        << QByteArrayList{"AT", "23*AT"} + parameters(1) +
               QByteArrayList{"AT", "AT+CPBW=5", "AT+CPBW=6", "AT+CPBR=1,6"};
}

void ProgrammingTest::steps() {
    QFETCH(int, capacity);
    QFETCH(Texts, edits);
    QFETCH(QByteArray, grid);
    QFETCH(QByteArrayList, sent);

    Fixture f;
    TForm1& form = *f.form;
    form.engine.sim.capacity = capacity;
    for (auto edit = edits.begin(); edit != edits.end(); ++edit)
        form.findChild<QLineEdit*>(edit.key())->setText(edit.value());
    form.PhoneBook1->setText(grid);

    form.run([&] { form.SaveORUClick(); });
    f.answerUntilTheEnd();
    QVERIFY(!form.dialogue.is(Dialogue::Phase::Programming));
    QCOMPARE(f.port.commands(), expand(sent, form.state));
    // One 200 ms wait before every write, skip and clear; none at the end.
    QCOMPARE(f.pacer.waits, QList<int>(f.port.sent.size() - 2, 200));
    QVERIFY(f.dialogs.errors.isEmpty());
}

void ProgrammingTest::logsEveryStep() {
    Fixture f;
    TForm1& form = *f.form;
    form.engine.sim.capacity = 7;
    form.ADMIN[0]->setText(QStringLiteral("1"));
    form.run([&] { form.SaveORUClick(); });
    f.answerUntilTheEnd();
    QStringList expected{"SIM1"};
    for (int i = 0; i < 22; ++i)
        expected << "---";
    expected << "SIM2"
             << "SIM3"
             << "SIM4"
             << "SIM5"
             << "---"
             << "delete SIM6"
             << "delete SIM7"
             << "Programmed 7 locations";
    QCOMPARE(untimed(f.monitorLines()), expected);
}

void ProgrammingTest::locksTheWindowUntilTheEnd() {
    Fixture f;
    TForm1& form = *f.form;
    form.engine.sim.capacity = 40;
    form.PhoneBook1->setText("A=1\nB1-1=2");
    form.dialogue.firstEntryPending = false;
    form.TreeButtons->addNode("30:B1-1[2]");
    const QList<QWidget*> locked{form.SaveORU,   form.LoadORU, form.RunORU,  form.StopORU,
                                 form.Save,      form.Load,    form.signal,  form.Buttons,
                                 form.PhoneBook, form.seting,  form.service, form.KeyBoardParams};
    for (QWidget* control : locked)
        control->setEnabled(true);

    form.run([&] { form.SaveORUClick(); });
    for (QWidget* control : locked)
        QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
    // The monitor page stays usable.
    QVERIFY(form.SaveMonitor->isEnabled() && form.IMEI->isEnabled() && form.Monitor->isEnabled());
    QVERIFY(!form.Prubeh->isHidden());
    QCOMPARE(form.Prubeh->maximum(), 40);

    for (int step = 1; step <= 5; ++step)
        f.say({"OK"});
    QCOMPARE(form.Prubeh->value(), 5);
    QVERIFY(!form.SaveORU->isEnabled());

    f.answerUntilTheEnd();
    for (QWidget* control : locked)
        QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
    // The view is emptied for the read-back of what the SIM now holds; the bar follows that read.
    QCOMPARE(form.PhoneBook1->lineCount(), 0);
    QCOMPARE(form.TreeButtons->nodeCount(), 0);
    QVERIFY(form.dialogue.firstEntryPending);
    QCOMPARE(f.port.commands().last(), QByteArray("AT+CPBR=1,40"));
    QVERIFY(form.dialogue.is(Dialogue::Phase::ReadingBack));
    QCOMPARE(form.Prubeh->format(), QStringLiteral("Reading back: location 0 of 40"));
    f.say({"OK"});
    QVERIFY(form.dialogue.is(Dialogue::Phase::Idle));
    QVERIFY(form.Prubeh->isHidden());
    QCOMPARE(form.Prubeh->value(), 0);

    // A later "OK" finds no sequence running.
    f.port.clearSent();
    f.say({"OK"});
    QVERIFY(f.port.sent.isEmpty());
}

void ProgrammingTest::lteModuleGetsItsTonesBack() {
    for (const bool lte : {false, true}) {
        Fixture f;
        TForm1& form = *f.form;
        form.engine.lteModule = lte;
        form.engine.sim.capacity = 30;
        for (QCheckBox* tone : {form.TonBeep, form.TonRing, form.TonVoice})
            tone->setEnabled(false);
        form.run([&] { form.SaveORUClick(); });
        // The settings page is locked meanwhile; the boxes themselves are what counts.
        QCOMPARE(form.TonBeep->isEnabledTo(form.seting), lte);
        QVERIFY(!form.TonRing->isEnabledTo(form.seting));
        QCOMPARE(form.TonVoice->isEnabledTo(form.seting), lte);
    }
}

void ProgrammingTest::errorAnswerEndsTheSequence() {
    Fixture f;
    TForm1& form = *f.form;
    form.engine.sim.capacity = 30;
    form.ADMIN[0]->setText(QStringLiteral("1"));
    form.ADMIN[1]->setText(QStringLiteral("2"));
    form.run([&] { form.SaveORUClick(); });
    f.say({"OK", "OK", "+CME ERROR: 21"});
    QCOMPARE(f.port.commands(), (QByteArrayList{"AT", "AT+CPBW=1,1,,ADMIN1", "AT+CPBW=2,2,,ADMIN2"}));
    QVERIFY(form.dialogue.is(Dialogue::Phase::Idle));
    QVERIFY(form.SaveORU->isEnabled() && form.PhoneBook->isEnabled() && form.Prubeh->isHidden());
    QCOMPARE(f.dialogs.errors.size(), 1);
    for (const char* words : {"+CME ERROR: 21", "The last location written was 1 of 30",
                              "Location 2 was not written", "keep their old content"})
        QVERIFY2(f.dialogs.errors[0].contains(QLatin1String(words)), qPrintable(f.dialogs.errors[0]));
    // A later "OK" does not carry a sequence on that has ended.
    f.port.clearSent();
    f.say({"OK"});
    QVERIFY(f.port.sent.isEmpty());
}

void ProgrammingTest::refusesValuesTheUnitWouldCutApart_data() {
    QTest::addColumn<int>("capacity");
    QTest::addColumn<Texts>("edits");
    QTest::addColumn<QByteArray>("grid");
    // Words the report must hold; empty when the values are accepted.
    QTest::addColumn<QStringList>("report");

    QTest::newRow("comma in an alarm text") << 250 << Texts{{"ALARMON", "Door open, call me"}} << QByteArray()
                                            << QStringList{"ALARMON", "number", "a comma"};
    QTest::newRow("double quote in an alarm text")
        << 250 << Texts{{"ALARMOFF", "say \"off\""}} << QByteArray()
        << QStringList{"ALARMOFF", "a double quote"};
    QTest::newRow("semicolon in a grid name") << 250 << Texts{} << QByteArray("A=1\nSmith;John=+420")
                                              << QStringList{"Smith;John", "row 2", "name", "a semicolon"};
    QTest::newRow("comma in a grid number")
        << 250 << Texts{} << QByteArray("Smith=+420,5") << QStringList{"Smith", "row 1", "number", "a comma"};
    const QByteArray withNul = QByteArray("Smith=+420") + '\0' + '5';
    QTest::newRow("NUL in a grid number")
        << 250 << Texts{} << withNul << QStringList{"Smith", "number", "a control character (code 0)"};
    QTest::newRow("tab in a grid name") << 250 << Texts{} << QByteArray("Smith\tJohn=+420")
                                        << QStringList{"row 1", "name", "a control character (code 9)"};
    QTest::newRow("comma typed into the keyboard wait")
        << 250 << Texts{{"WaitBUF", "2,5"}} << QByteArray() << QStringList{"PARKEY", "a comma"};
    QTest::newRow("a skipped row is not written")
        << 250 << Texts{} << QByteArray("Smith,John=") << QStringList{};
    // Entries that find no location would be lost without a word: the plan is refused instead.
    QTest::newRow("entries beyond the capacity")
        << 2 << Texts{{"ADMIN1", "1"}, {"ADMIN2", "2"}, {"ADMIN3", "3"}} << QByteArray("A=1")
        << QStringList{"ADMIN3: the SIM has no location left for it", "A (phone-book row 1)"};
    QTest::newRow("grid rows beyond the capacity")
        << 5 << Texts{} << QByteArray("A=1\nB=2\nSmith=1,2")
        << QStringList{"B (phone-book row 2): the SIM has no location left for it", "Smith", "a comma"};
    QTest::newRow("a SIM whose size is not known")
        << 0 << Texts{{"ADMIN1", "1"}} << QByteArray()
        << QStringList{"ADMIN1: the SIM has no location left for it"};
}

void ProgrammingTest::refusesValuesTheUnitWouldCutApart() {
    QFETCH(int, capacity);
    QFETCH(Texts, edits);
    QFETCH(QByteArray, grid);
    QFETCH(QStringList, report);

    Fixture f;
    TForm1& form = *f.form;
    form.engine.sim.capacity = capacity;
    for (auto edit = edits.begin(); edit != edits.end(); ++edit) {
        if (auto* line = form.findChild<QLineEdit*>(edit.key()))
            line->setText(edit.value());
        else
            form.findChild<QComboBox*>(edit.key())->setEditText(edit.value());
    }
    form.PhoneBook1->setText(grid);
    const QByteArray decoded = form.state.parKey;

    form.run([&] { form.SaveORUClick(); });
    if (report.isEmpty()) {
        QVERIFY(f.dialogs.errors.isEmpty());
        QVERIFY(form.dialogue.is(Dialogue::Phase::Programming));
        return;
    }
    QCOMPARE(f.dialogs.errors.size(), 1);
    for (const QString& word : report)
        QVERIFY2(f.dialogs.errors[0].contains(word), qPrintable(f.dialogs.errors[0]));
    // Nothing started: nothing sent, nothing locked, the parameter strings as they were.
    QVERIFY(f.port.sent.isEmpty());
    QVERIFY(!form.dialogue.is(Dialogue::Phase::Programming));
    QVERIFY(form.Buttons->isEnabled() && form.PhoneBook->isEnabled() && form.seting->isEnabled());
    QVERIFY(form.Prubeh->isHidden());
    QCOMPARE(form.state.parKey, decoded);
}

void ProgrammingTest::lostPortEndsTheSequence_data() {
    // Answers before the port goes.
    QTest::addColumn<int>("answers");
    QTest::addColumn<QString>("report");

    QTest::newRow("at the probe") << -1 << QStringLiteral("No location was written.");
    QTest::newRow("after three writes") << 5 << QStringLiteral("The last location written was 3 of 40");
    QTest::newRow("while clearing") << 30 << QStringLiteral("The last location written was 9 of 40");
}

void ProgrammingTest::lostPortEndsTheSequence() {
    QFETCH(int, answers);
    QFETCH(QString, report);

    Fixture f;
    TForm1& form = *f.form;
    form.engine.sim.capacity = 40;
    for (int i = 0; i < 3; ++i)
        form.ADMIN[i]->setText(QStringLiteral("12"));
    const auto unplug = [&] {
        f.port.open = false;
        f.port.failOpen = QStringLiteral("The device has been removed.");
    };
    if (answers < 0) unplug();
    form.run([&] { form.SaveORUClick(); });
    for (int i = 0; i < answers; ++i)
        f.say({"OK"});
    const qsizetype sentBefore = f.port.sent.size();
    if (answers >= 0) {
        unplug();
        f.say({"OK"});
    }

    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY2(f.dialogs.errors[0].contains(QStringLiteral("The device has been removed.")),
             qPrintable(f.dialogs.errors[0]));
    QVERIFY2(f.dialogs.errors[0].contains(report), qPrintable(f.dialogs.errors[0]));
    QCOMPARE(f.port.sent.size(), sentBefore);
    QVERIFY(!form.dialogue.is(Dialogue::Phase::Programming));
    // The window is free again, but without a line the unit's buttons stay off.
    QVERIFY(form.PhoneBook->isEnabled() && form.Load->isEnabled());
    QVERIFY(!form.SaveORU->isEnabled() && !form.StopORU->isEnabled() && !form.RunORU->isEnabled());
    QVERIFY(form.Prubeh->isHidden());
    // A later "OK" from a unit that comes back does not carry the sequence on.
    f.port.failOpen.clear();
    f.say({"OK"});
    QCOMPARE(f.port.sent.size(), sentBefore);
}

QTEST_MAIN(ProgrammingTest)
#include "tst_programming.moc"
