#include "SimFormFixture.h"
#include "ViewTexts.h"

#include "files/PhoneBookList.h"
#include "modules/EntryTree.h"
#include "widgets/StatusPanels.h"

#include <QLabel>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

// The dialogue's phases against the simulated unit: read-backs that overlap give one clean read, a detection
// switch during a read-back takes effect, an upload whose prompt never comes ends and stays ended, a stop
// that nobody answers says so, and each phase reports its start and its outcome.
class PhasesFlowTest : public QObject {
    Q_OBJECT
private slots:
    void pendingRereadDoesNotDoubleTheRows_data();
    void pendingRereadDoesNotDoubleTheRows();
    void readBackAskedForTwice_data();
    void readBackAskedForTwice();
    void detectionSwitchedDuringAReadBackTakesEffect();
    void uploadWithoutPromptEndsAndNeverResumes();
    void stopWithNoAnswerSaysSoAndLoadReadsTheUnit();
    void stopReportsItsPhases();
    void resultsStayUntilTheNextOperation();
};

namespace {

using Phase = Dialogue::Phase;
using Outcome = Dialogue::Outcome;

QMap<int, SimEntry> configuredSim() {
    return {{1, {"+420603111222", "ADMIN1"}},
            {2, {"+420777", "Alice"}},
            {3, {"+420888", "Bob"}},
            {4, {"555", "B12-1"}},
            {5, {"1#0", "C1234C"}},
            {6, {"999", "Carol"}},
            {40, {"1", "DETECT"}}};
}

struct Fixture : SimFormFixture {
    explicit Fixture(bool running = true) : SimFormFixture(options(running)) {
        click([this] { form->FormCreate(); });
    }
    static SimOptions options(bool running) {
        SimOptions options;
        options.capacity = 50;
        options.startStopped = !running;
        options.phonebook = configuredSim();
        return options;
    }
    // How often the unit listed location 1: once per read of the SIM.
    int reads() const { return monitorLines().filter(QStringLiteral("+CPBR: 1,")).size(); }
    // Runs a handler when the window has handled a line that starts so, once.
    void onLine(const QByteArray& start, std::function<void()> handler) {
        auto done = std::make_shared<bool>(false);
        QObject::connect(form.get(), &TForm1::lineHandled, form.get(),
                         [this, start, handler, done](const QByteArray& line) {
                             if (*done || !line.startsWith(start)) return;
                             *done = true;
                             form->run(handler);
                         });
    }
};

const QByteArrayList ConfiguredRows{"Alice=+420777", "Bob=+420888", "B12-1=555",
                                    "C1234C=1#0",    "Carol=999",   "DETECT=1"};

} // namespace

void PhasesFlowTest::pendingRereadDoesNotDoubleTheRows_data() {
    QTest::addColumn<bool>("refusedWrite");
    QTest::newRow("Del Code with nothing selected while the unit runs, then Stop") << false;
    QTest::newRow("a write the unit refuses, then Load") << true;
}

void PhasesFlowTest::pendingRereadDoesNotDoubleTheRows() {
    QFETCH(bool, refusedWrite);
    Fixture f;
    TForm1& form = *f.form;
    if (refusedWrite) {
        f.click([&] { form.StopORUClick(); });
        f.unit.failNext("AT+CPBW=", "+CME ERROR: 20");
        form.Memo->setText(QStringLiteral("7"));
        form.MemoPNumber->setText(QStringLiteral("123"));
        f.click([&] { form.WriteMemoClick(); });
        QCOMPARE(f.dialogs.errors.size(), 1);
        QVERIFY2(f.dialogs.errors[0].contains(QStringLiteral("+CME ERROR: 20")),
                 qPrintable(f.dialogs.errors[0]));
        f.dialogs.errors.clear();
        form.Monitor->clear();
        f.click([&] { form.LoadORUClick(); });
    } else {
        f.click([&] { form.DelCodeClick(); });
        f.click([&] { form.StopORUClick(); });
    }

    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
    QCOMPARE(f.reads(), 1);
    QCOMPARE(gridLines(form.PhoneBook1), ConfiguredRows);
    QCOMPARE(form.TreeCode->nodeCount(), 1);
    QCOMPARE(form.TreeButtons->nodeCount(), 1);

    // Programming what was read leaves the SIM holding each entry once.
    f.click([&] { form.SaveORUClick(); });
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
    QMultiMap<QByteArray, QByteArray> held;
    for (const SimEntry& entry : f.unit.phonebook())
        held.insert(entry.name, entry.number);
    QMultiMap<QByteArray, QByteArray> configured;
    for (const SimEntry& entry : configuredSim())
        configured.insert(entry.name, entry.number);
    configured.insert("PARORU", form.state.parOru);
    configured.insert("PARRL1", form.state.parRl1);
    configured.insert("PARRL2", form.state.parRl2);
    configured.insert("PARKEY", form.state.parKey);
    QCOMPARE(held, configured);
    QCOMPARE(gridLines(form.PhoneBook1), ConfiguredRows);
}

void PhasesFlowTest::readBackAskedForTwice_data() {
    QTest::addColumn<bool>("duringTheRead");
    QTest::addColumn<int>("reads");
    // Before the read is out, the one under way serves; once it is out, another follows it.
    QTest::newRow("Load pressed twice") << false << 1;
    QTest::newRow("Load pressed while the entries arrive") << true << 2;
}

void PhasesFlowTest::readBackAskedForTwice() {
    QFETCH(bool, duringTheRead);
    QFETCH(int, reads);
    Fixture f;
    TForm1& form = *f.form;
    f.click([&] { form.StopORUClick(); });
    form.Monitor->clear();

    if (duringTheRead) {
        f.onLine("+CPBR: 3,", [&] { form.LoadORUClick(); });
        f.click([&] { form.LoadORUClick(); });
    } else {
        form.run([&] { form.LoadORUClick(); });
        f.click([&] { form.LoadORUClick(); });
    }
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
    QCOMPARE(f.reads(), reads);
    QCOMPARE(gridLines(form.PhoneBook1), ConfiguredRows);
    QCOMPARE(form.TreeButtons->nodeCount(), 1);
    QVERIFY(form.dialogue.is(Phase::Idle));
    QVERIFY(form.Prubeh->isHidden());
}

void PhasesFlowTest::detectionSwitchedDuringAReadBackTakesEffect() {
    Fixture f;
    TForm1& form = *f.form;
    f.click([&] { form.StopORUClick(); });
    QVERIFY(form.DetBut->isChecked());

    // Unticked before location 40 has come in again: the switch waits for the read-back to find it.
    f.onLine("+CPBR: 1,", [&] { form.DetBut->click(); });
    f.click([&] { form.LoadORUClick(); });
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
    QVERIFY(!f.unit.phonebook().contains(40));
    QVERIFY(!form.DetBut->isChecked());
    QVERIFY(!gridLines(form.PhoneBook1).contains("DETECT=1"));

    // Ticked again during a read-back: a new entry, written once.
    f.onLine("+CPBR: 1,", [&] { form.DetBut->click(); });
    f.click([&] { form.LoadORUClick(); });
    QVERIFY(form.DetBut->isChecked());
    QCOMPARE(gridLines(form.PhoneBook1).count("DETECT=1"), 1);
    int detects = 0;
    for (const SimEntry& entry : f.unit.phonebook())
        detects += entry.name == "DETECT";
    QCOMPARE(detects, 1);
}

void PhasesFlowTest::uploadWithoutPromptEndsAndNeverResumes() {
    Fixture f;
    TForm1& form = *f.form;
    const QString folder = QDir::currentPath();
    QDir::setCurrent(f.dir.path());
    QFile script(QStringLiteral("oru.pyo"));
    QVERIFY(script.open(QIODevice::WriteOnly) && script.write("print(1)") == 8);
    script.close();
    form.List->setPlainText(QStringLiteral("oru.pyo\nASEND:oru.pyo\nRUN:oru.pyo"));

    // The running script takes no command: no prompt comes.
    f.click([&] { form.UpgradeClick(); });
    QVERIFY(form.dialogue.is(Phase::Uploading) && form.dialogue.awaitingPrompt);
    QCOMPARE(f.pacer.armedMs(), Dialogue::AnswerMs);
    form.run([&] { f.pacer.expire(); });
    QCOMPARE(f.dialogs.errors.size(), 1);
    for (const QString& words : {QStringLiteral("the simulator did not ask for the file's data within 10 s"),
                                 QStringLiteral("line 1 of 3: \"oru.pyo\"")})
        QVERIFY2(f.dialogs.errors[0].contains(words), qPrintable(f.dialogs.errors[0]));
    QVERIFY(form.Prubeh->isHidden());

    // The stop's answers do not carry the upload on.
    f.dialogs.errors.clear();
    form.Monitor->clear();
    f.click([&] { form.StopORUClick(); });
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
    QVERIFY(f.unit.scripts().isEmpty() && f.unit.audioFiles().isEmpty());
    QVERIFY(f.unit.selectedScript().isEmpty());
    for (const char* command : {"AT#WSCRIPT", "AT#ASEND", "AT#ESCRIPT"})
        QVERIFY(!form.monitorText().contains(command));
    QCOMPARE(gridLines(form.PhoneBook1), ConfiguredRows);
    QDir::setCurrent(folder);
}

void PhasesFlowTest::stopWithNoAnswerSaysSoAndLoadReadsTheUnit() {
    // A unit that is stopped already does not answer the stop line.
    Fixture f(false);
    TForm1& form = *f.form;
    f.click([&] { form.StopORUClick(); });
    QVERIFY(form.dialogue.is(Phase::Stopping));
    QCOMPARE(f.pacer.armedMs(), Dialogue::StopAnswerMs);
    form.run([&] { f.pacer.expire(); });

    QCOMPARE(f.dialogs.errors.size(), 1);
    for (const QString& words : {QStringLiteral("the simulator did not report that it stopped within 20 s"),
                                 QStringLiteral("press Load")})
        QVERIFY2(f.dialogs.errors[0].contains(words), qPrintable(f.dialogs.errors[0]));
    QVERIFY(form.dialogue.is(Phase::Idle));
    QVERIFY(form.Prubeh->isHidden() && !form.Cekani->isActive());
    QVERIFY(form.StatusBar1->currentMessage().startsWith(
        QStringLiteral("Stop failed: The unit on the simulator")));

    f.dialogs.errors.clear();
    f.click([&] { form.LoadORUClick(); });
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
    QCOMPARE(gridLines(form.PhoneBook1), ConfiguredRows);
    QVERIFY(form.dialogue.is(Phase::Idle));
}

void PhasesFlowTest::stopReportsItsPhases() {
    Fixture f;
    TForm1& form = *f.form;
    QSignalSpy started(&form.dialogue, &Dialogue::started);
    QSignalSpy ended(&form.dialogue, &Dialogue::ended);
    f.click([&] { form.StopORUClick(); });

    QCOMPARE(started.size(), 2);
    QCOMPARE(started[0][0].value<Phase>(), Phase::Stopping);
    QCOMPARE(started[1][0].value<Phase>(), Phase::ReadingBack);
    QCOMPARE(ended.size(), 2);
    QCOMPARE(ended[0][0].value<Phase>(), Phase::Stopping);
    QCOMPARE(ended[1][0].value<Phase>(), Phase::ReadingBack);
    QCOMPARE(ended[1][1].value<Outcome>(), Outcome::Done);
    // The read went as far as the SIM reaches.
    QCOMPARE(form.dialogue.done(), 40);
    QCOMPARE(form.dialogue.total(), 50);
    QCOMPARE(form.StatusBar1->currentMessage(), QStringLiteral("Read-back done"));
}

// How the last operation ended stays in its own place, whatever the status bar shows meanwhile, until the
// next operation starts; no bar stays after its phase; the title names the file and unsaved edits.
void PhasesFlowTest::resultsStayUntilTheNextOperation() {
    Fixture f;
    TForm1& form = *f.form;
    QCOMPARE(form.LastResult->text(), QStringLiteral("Connected to the simulator"));
    f.click([&] { form.StopORUClick(); });
    QCOMPARE(form.LastResult->text(), QStringLiteral("Read-back done"));
    QVERIFY(form.Prubeh->isHidden());
    QCOMPARE(form.Prubeh->value(), 0);

    // A message covers the status bar's panels, but neither the result nor the port's panel and control.
    form.StatusBar1->showMessage(QStringLiteral("No name \"Zed\" in the phone book."));
    QCOMPARE(form.LastResult->text(), QStringLiteral("Read-back done"));
    const QList<QLabel*> panels = form.StatusBar1->findChildren<QLabel*>();
    const auto panel = std::find_if(panels.begin(), panels.end(), [](const QLabel* label) {
        return label->text() == QStringLiteral(" the simulator");
    });
    QVERIFY(panel != panels.end());
    QVERIFY(!(*panel)->isHidden());
    QVERIFY(!form.PortButton->isHidden());

    // A delete asks first; cancelled, it sends nothing and the result stands.
    form.TreeCode->selectNode(0);
    f.dialogs.confirmAnswers << false;
    f.click([&] { form.DelCodeClick(); });
    QVERIFY(f.unit.phonebook().contains(5));
    QCOMPARE(form.LastResult->text(), QStringLiteral("Read-back done"));
    // Agreed, it says what it did once the unit has been read back.
    f.dialogs.confirmAnswers << true;
    f.click([&] { form.DelCodeClick(); });
    QVERIFY(!f.unit.phonebook().contains(5));
    QCOMPARE(f.dialogs.confirmations.size(), 2);
    QVERIFY2(f.dialogs.confirmations[0].text.contains(QStringLiteral("C1234C[1#0] from location 5")),
             qPrintable(f.dialogs.confirmations[0].text));
    QCOMPARE(form.LastResult->text(), QStringLiteral("Deleted C1234C[1#0] from location 5; Read-back done"));

    // Saving says where; the title names the file, and marks edits made since.
    f.dialogs.saveAnswers << f.path(QStringLiteral("unit.oru"));
    f.click([&] { form.SaveClick(); });
    QCOMPARE(form.LastResult->text(), QStringLiteral("Saved to ") + f.path(QStringLiteral("unit.oru")));
    QCOMPARE(form.windowTitle(), QStringLiteral("unit.oru - ZUVovu"));
    form.ADMIN[1]->setText(QStringLiteral("+420111"));
    form.refreshTitle();
    QCOMPARE(form.windowTitle(), QStringLiteral("unit.oru* - ZUVovu"));
    QVERIFY2(f.dialogs.problems().isEmpty(), qPrintable(f.dialogs.problems()));
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
}

QTEST_MAIN(PhasesFlowTest)
#include "tst_phases_e2e.moc"
