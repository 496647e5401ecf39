#include "FormFixture.h"

#include "widgets/StatusPanels.h"

#include <QDir>
#include <QFile>
#include <QtTest>

// How each phase of the dialogue ends early: the unit's silence past its limit, an error answer, a lost port.
// Afterwards the window is free, nothing is left half-full, the report says where the phase stopped, and a
// late answer carries nothing on.
class PhasesTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void phaseEndsEarly_data();
    void phaseEndsEarly();
    void busySimIsAskedAgain();
    void silenceCountsOnceNothingIsOnTheWay();

private:
    QString m_folder;
};

namespace {

using Phase = Dialogue::Phase;

// How the phase ends: the unit's silence, its error answer, a lost port, or a listing that cannot be true (an
// entry beyond the SIM, a location twice).
enum class Way { Silence, ErrorAnswer, PortLost, EntryBeyondSim, LocationTwice };
enum class Start { Stop, LoadWaiting, ReadBack, SingleWrite, Programming, UploadPrompt, UploadAnswer };

// Brings a fresh window into the phase, with the unit answering as far as the phase has got.
void enter(FormFixture& f, Start start) {
    TForm1& form = *f.form;
    switch (start) {
    case Start::Stop:
        form.run([&] { form.StopORUClick(); });
        break;
    case Start::LoadWaiting:
        form.run([&] { form.StopORUClick(); });
        form.run([&] { form.LoadORUClick(); });
        break;
    case Start::ReadBack:
        form.run([&] { form.StopORUClick(); });
        f.say({"STOP", "OK", "[AT#SLED=1]=", "#SPN: NET", "OK", "+CPBR: (1-250),80,40", "OK",
               "+CPBR: 1,\"+420603111222\",145,\"ADMIN1\"", "+CPBR: 7,\"+420777\",145,\"Alice\""});
        break;
    case Start::SingleWrite:
        form.Memo->setText(QStringLiteral("7"));
        form.MemoPNumber->setText(QStringLiteral("123"));
        form.run([&] { form.WriteMemoClick(); });
        break;
    case Start::Programming:
        form.engine.sim.capacity = 30;
        form.ADMIN[0]->setText(QStringLiteral("1"));
        form.ADMIN[1]->setText(QStringLiteral("2"));
        form.run([&] { form.SaveORUClick(); });
        f.say({"OK", "OK"});
        break;
    case Start::UploadPrompt:
    case Start::UploadAnswer: {
        QFile script(QStringLiteral("oru.pyo"));
        QVERIFY(script.open(QIODevice::WriteOnly) && script.write("x = 1") == 5);
        script.close();
        form.List->setPlainText(QStringLiteral("RUN:old.pyo\noru.pyo\nRUN:oru.pyo"));
        form.run([&] { form.UpgradeClick(); });
        f.say({"OK"});
        if (start == Start::UploadAnswer) f.port.deliver(">>>");
        break;
    }
    }
}

} // namespace

void PhasesTest::init() {
    m_folder = QDir::currentPath();
}

void PhasesTest::cleanup() {
    QDir::setCurrent(m_folder);
}

void PhasesTest::phaseEndsEarly_data() {
    QTest::addColumn<Start>("start");
    QTest::addColumn<Phase>("phase");
    QTest::addColumn<Way>("way");
    // The limit the phase waits under; 0 where the row does not wait for it.
    QTest::addColumn<int>("limitMs");
    // Words the one report must hold.
    QTest::addColumn<QStringList>("report");

    const QString silent = QStringLiteral("The unit on TEST has not answered for 10 s.");
    QTest::newRow("stop: no stop answer")
        << Start::Stop << Phase::Stopping << Way::Silence << Dialogue::StopAnswerMs
        << QStringList{"The unit on TEST did not report that it stopped within 20 s", "press Load"};
    QTest::newRow("load while waiting: no answer")
        << Start::LoadWaiting << Phase::Stopping << Way::Silence << Dialogue::AnswerMs
        << QStringList{"did not report that it stopped", "The unit was not read."};
    QTest::newRow("read-back: silent after two entries")
        << Start::ReadBack << Phase::ReadingBack << Way::Silence << Dialogue::AnswerMs
        << QStringList{silent, "after location 7 of 250", "Read the unit again before programming it"};
    QTest::newRow("read-back: no SIM")
        << Start::ReadBack << Phase::ReadingBack << Way::ErrorAnswer << 0
        << QStringList{"The unit answered \"+CME ERROR: 10\".", "after location 7 of 250"};
    QTest::newRow("read-back: port lost")
        << Start::ReadBack << Phase::ReadingBack << Way::PortLost << 0
        << QStringList{"The serial port TEST was lost: unplugged", "after location 7 of 250"};
    QTest::newRow("read-back: entry beyond the SIM")
        << Start::ReadBack << Phase::ReadingBack << Way::EntryBeyondSim << 0
        << QStringList{"\"251\" is not one of its SIM's locations 1 to 250", "\"Beyond\" is left out",
                       "after location 7 of 250"};
    QTest::newRow("read-back: a location twice")
        << Start::ReadBack << Phase::ReadingBack << Way::LocationTwice << 0
        << QStringList{"location 7 twice, the second time as \"Twin\"", "after location 7 of 250"};
    QTest::newRow("single write: no answer")
        << Start::SingleWrite << Phase::ReadingBack << Way::Silence << Dialogue::AnswerMs
        << QStringList{silent, "The unit was not read back."};
    QTest::newRow("single write: refused")
        << Start::SingleWrite << Phase::ReadingBack << Way::ErrorAnswer << 0
        << QStringList{"+CME ERROR: 10", "The unit was not read back."};
    QTest::newRow("programming: no answer to a write")
        << Start::Programming << Phase::Programming << Way::Silence << Dialogue::AnswerMs
        << QStringList{silent, "The last location written was 1 of 30.",
                       "Location 2 may or may not have been written.", "keep their old content"};
    QTest::newRow("programming: port lost")
        << Start::Programming << Phase::Programming << Way::PortLost << 0
        << QStringList{"was lost: unplugged", "Location 2 may or may not have been written."};
    QTest::newRow("upload: no data prompt")
        << Start::UploadPrompt << Phase::Uploading << Way::Silence << Dialogue::AnswerMs
        << QStringList{"The unit on TEST did not ask for the file's data within 10 s.",
                       "line 2 of 3: \"oru.pyo\""};
    // After the data, the wait allows for the bytes still crossing the line.
    QTest::newRow("upload: no answer after the data")
        << Start::UploadAnswer << Phase::Uploading << Way::Silence
        << Dialogue::AnswerMs + 5 * 1000 / SerialPort::LineBytesPerSecond
        << QStringList{silent, "line 2 of 3: \"oru.pyo\""};
    QTest::newRow("upload: refused") << Start::UploadPrompt << Phase::Uploading << Way::ErrorAnswer << 0
                                     << QStringList{"The unit answered \"+CME ERROR: 10\".", "line 2 of 3"};
}

void PhasesTest::phaseEndsEarly() {
    QFETCH(Start, start);
    QFETCH(Phase, phase);
    QFETCH(Way, way);
    QFETCH(int, limitMs);
    QFETCH(QStringList, report);

    FormFixture f;
    QDir::setCurrent(f.dir.path());
    TForm1& form = *f.form;
    enter(f, start);
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
    QCOMPARE(form.dialogue.phase(), phase);
    if (limitMs > 0) QCOMPARE(f.pacer.armedMs(), limitMs);

    switch (way) {
    case Way::Silence:
        f.pacer.expire();
        break;
    case Way::ErrorAnswer:
        f.say({"+CME ERROR: 10"});
        break;
    case Way::PortLost:
        emit f.port.lost(QStringLiteral("unplugged"));
        break;
    case Way::EntryBeyondSim:
        f.say({"+CPBR: 251,\"1\",129,\"Beyond\""});
        break;
    case Way::LocationTwice:
        f.say({"+CPBR: 7,\"1\",129,\"Twin\""});
        break;
    }

    QCOMPARE(f.dialogs.errors.size(), 1);
    for (const QString& words : report)
        QVERIFY2(f.dialogs.errors[0].contains(words), qPrintable(f.dialogs.errors[0]));
    QVERIFY(form.dialogue.is(Phase::Idle));
    QCOMPARE(f.pacer.armedMs(), 0);
    QVERIFY(form.Prubeh->isHidden());
    QVERIFY(!form.Cekani->isActive());
    QVERIFY(form.PhoneBook->isEnabled() && form.StopORU->isEnabled() && form.RunORU->isEnabled());
    QVERIFY(form.StatusBar1->currentMessage().startsWith(Dialogue::describe(phase) + " failed: "));

    // Answers that come late carry nothing on.
    f.port.clearSent();
    f.port.deliver(">>>");
    f.say({"OK", "OK"});
    QCOMPARE(f.port.commands(), QByteArrayList());
}

void PhasesTest::busySimIsAskedAgain() {
    FormFixture f;
    TForm1& form = *f.form;
    form.run([&] { form.StopORUClick(); });
    f.say({"STOP", "OK", "[AT#SLED=1]=", "#SPN: NET", "OK"});
    f.port.clearSent();
    f.pacer.waits.clear();

    // Refused at the size query, then at the read: each is asked again after a pause.
    f.say({"+CME ERROR: 14", "+CPBR: (1-250),80,40", "OK", "+CME ERROR: 14",
           "+CPBR: 1,\"+420603111222\",145,\"ADMIN1\"", "OK"});
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
    QCOMPARE(f.port.commands(), (QByteArrayList{"AT+CPBR=?", "AT+CPBR=1,250", "AT+CPBR=1,250"}));
    QCOMPARE(f.pacer.waits, (QList<int>{Dialogue::BusyRetryMs, 100, Dialogue::BusyRetryMs}));
    QCOMPARE(form.ADMIN[0]->text(), QStringLiteral("+420603111222"));
    QVERIFY(form.dialogue.is(Dialogue::Phase::Idle));

    // A SIM that stays busy is given up on, and the report names its answer.
    form.run([&] { form.LoadORUClick(); });
    f.say({"#SPN: NET", "OK"});
    for (int i = 0; i <= Dialogue::BusyRetries; ++i)
        f.say({"+CME ERROR: 14"});
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY2(f.dialogs.errors[0].contains(QStringLiteral("+CME ERROR: 14")), qPrintable(f.dialogs.errors[0]));
    QVERIFY(form.dialogue.is(Dialogue::Phase::Idle));
}

void PhasesTest::silenceCountsOnceNothingIsOnTheWay() {
    FormFixture f;
    TForm1& form = *f.form;
    enter(f, Start::Programming);
    // The program was held (Ctrl+Z) past the limit while the unit's answer came in.
    f.port.waitingInput = true;
    f.pacer.expire();
    QCOMPARE(f.pacer.armedMs(), Dialogue::AnswerMs);
    // A second's worth of bytes is still leaving: the limit runs from when they will have left.
    f.port.waitingInput = false;
    f.port.pendingOutput = SerialPort::LineBytesPerSecond;
    f.pacer.expire();
    QCOMPARE(f.pacer.armedMs(), Dialogue::AnswerMs + 1000);
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
    QVERIFY(form.dialogue.is(Phase::Programming));
    // Bytes that leave, more slowly than the line's pace, keep the phase going.
    f.port.pendingOutput = SerialPort::LineBytesPerSecond / 2;
    f.pacer.expire();
    QVERIFY(form.dialogue.is(Phase::Programming));

    // Bytes that do not move at all: the unit (or the cable's flow control) takes none of them, and its
    // silence ends the phase.
    f.pacer.expire();
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY(form.dialogue.is(Phase::Idle));
}

QTEST_MAIN(PhasesTest)
#include "tst_phases.moc"
