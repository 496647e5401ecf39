#include "FormFixture.h"
#include "TestData.h"

#include "core/Bytes.h"
#include "service/UploadList.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <limits>
#include <sys/stat.h>

namespace {

const QString ListFilter = QStringLiteral("info for download (*.ifo)|*.ifo");

// A window without start-up on an open line, working in its temporary folder, so relative names in the list
// resolve there.
struct Rig {
    Rig() {
        QDir::setCurrent(f.dir.path());
        f.port.open = true;
    }

    void file(const QByteArray& name, const QByteArray& bytes) {
        const QString path = QFile::decodeName(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(bytes), bytes.size());
    }
    void list(const QByteArray& text) { f.form->List->setPlainText(fromBytes(text)); }
    void upgrade() { f.form->Upgrade->click(); }
    QString lastLog() const { return f.monitorLines().value(f.monitorLines().size() - 1); }
    // The system's description of why a name cannot be opened.
    static QString openError(const QByteArray& name) {
        QFile probe(QFile::decodeName(name));
        return probe.open(QIODevice::ReadOnly) ? QString() : probe.errorString();
    }

    FormFixture f{QStringLiteral("zuvovu"), false};
    SharedState& state = f.form->state;
    Dialogue& dialogue = f.form->dialogue;
};

} // namespace

class UploadTest : public QObject {
    Q_OBJECT

    QString m_folder;

private slots:
    void init() { m_folder = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_folder); }

    void lineKinds_data();
    void lineKinds();
    void progressBarFollowsTheLines();
    void audioFileWaitsForItsReportBeforeOk();
    void payloadsGoOutAsTheBufferDrains_data();
    void payloadsGoOutAsTheBufferDrains();
    void uploadEndsWithoutSending_data();
    void uploadEndsWithoutSending();
    void uploadNeedsAnOpenLine();
    void fileTooLargeForItsSizeIsRefused();
    void startingOverForgetsAnAnswerStillAwaited();
    void loadListAppendsEveryLine();
    void loadListCancelledOrUnreadable();
    void loadListLineEnds_data();
    void loadListLineEnds();
    void loadListRefusesWhatIsNotAFile_data();
    void loadListRefusesWhatIsNotAFile();
};

void UploadTest::lineKinds_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<bool>("audio");
    QTest::newRow("run") << QByteArray("RUN:oru.pyo") << QByteArray("AT#ESCRIPT=oru.pyo") << false;
    QTest::newRow("keyword anywhere")
        << QByteArray("new RUN:oru.pyo") << QByteArray("AT#ESCRIPT=oru.pyo") << false;
    QTest::newRow("argument after the first colon")
        << QByteArray("a:b RUN:oru.pyo") << QByteArray("AT#ESCRIPT=b RUN:oru.pyo") << false;
    QTest::newRow("run before asend")
        << QByteArray("ASEND:RUN:oru.pyo") << QByteArray("AT#ESCRIPT=RUN:oru.pyo") << false;
    QTest::newRow("audio file with its size")
        << QByteArray("ASEND:ring.wav") << QByteArray("AT#ASEND=ring.wav,4") << true;
    QTest::newRow("set sends its argument") << QByteArray("SET:AT+CSQ") << QByteArray("AT+CSQ") << false;
    QTest::newRow("set before del") << QByteArray("SET:DEL:x") << QByteArray("DEL:x") << false;
    QTest::newRow("del") << QByteArray("DEL:old.pyo") << QByteArray("AT#DSCRIPT=old.pyo") << false;
    QTest::newRow("script is the whole line")
        << QByteArray("oru.pyo") << QByteArray("AT#WSCRIPT=oru.pyo,900") << false;
    QTest::newRow("keywords are case-sensitive")
        << QByteArray("run:me.pyo") << QByteArray("AT#WSCRIPT=run:me.pyo,3") << false;
    QTest::newRow("drive-letter path is a script")
        << QByteArray("C:/scripts/oru.pyo") << QByteArray("AT#WSCRIPT=C:/scripts/oru.pyo,5") << false;
    QTest::newRow("name bytes go out unchanged")
        << QByteArray("zvon\xc4\x9b\xc5\xa1.pyo") << QByteArray("AT#WSCRIPT=zvon\xc4\x9b\xc5\xa1.pyo,2")
        << false;
    QTest::newRow("latin-1 bytes go out unchanged")
        << QByteArray("SET:AT+X=\xe9\xff") << QByteArray("AT+X=\xe9\xff") << false;
}

void UploadTest::lineKinds() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, command);
    QFETCH(bool, audio);
    Rig rig;
    rig.file("oru.pyo", everyByteValue(900));
    rig.file("ring.wav", "RIFF");
    rig.file("run:me.pyo", "abc");
    rig.file("C:/scripts/oru.pyo", "12345");
    // The list's letters name the file, as the file system spells them; the bytes go to the unit as they are.
    rig.file(QFile::encodeName(fromBytes("zvon\xc4\x9b\xc5\xa1.pyo")), "ok");
    rig.list(line);
    rig.upgrade();
    QCOMPARE(rig.f.dialogs.errors, QStringList());
    QCOMPARE(rig.f.port.sent, QByteArrayList{command + "\r\n"});
    QCOMPARE(rig.lastLog(), fromBytes(command));
    QVERIFY(rig.dialogue.uploadActive);
    QCOMPARE(rig.dialogue.asendPending, audio);
    // Only an audio file waits before its command, for the configured time.
    QCOMPARE(rig.f.pacer.waits, audio ? QList<int>{rig.state.serialWaitMs} : QList<int>());
}

void UploadTest::progressBarFollowsTheLines() {
    Rig rig;
    rig.list("RUN:a.pyo\nSET:ATE0\nDEL:b.pyo");
    rig.upgrade();
    QProgressBar* bar = rig.f.form->Prubeh;
    QCOMPARE(bar->maximum(), 4);
    QVERIFY(!bar->isHidden());
    QCOMPARE(bar->value(), 1);
    for (int answer = 1; answer <= 2; ++answer) {
        rig.f.say({"OK"});
        QCOMPARE(bar->value(), answer);
        QCOMPARE(rig.state.uploadIndex, answer);
    }
    // The last answer ends the upload: no bar stands after it.
    rig.f.say({"OK"});
    QCOMPARE(rig.state.uploadIndex, 3);
    QVERIFY(bar->isHidden());
    QCOMPARE(bar->value(), 0);
    QCOMPARE(rig.f.port.commands(), (QByteArrayList{"AT#ESCRIPT=a.pyo", "ATE0", "AT#DSCRIPT=b.pyo"}));
    QVERIFY(!rig.dialogue.uploadActive);
    QCOMPARE(rig.f.pacer.waits, (QList<int>{500, 500, 500}));
}

void UploadTest::audioFileWaitsForItsReportBeforeOk() {
    Rig rig;
    rig.file("ring.wav", "RIFF");
    rig.list("ASEND:ring.wav\nRUN:oru.pyo");
    rig.upgrade();
    rig.f.port.deliver("\r\n>>>");
    QCOMPARE(rig.f.port.sent.value(1), "RIFF");
    rig.f.say({"OK", "OK"});
    QCOMPARE(rig.f.port.sent.size(), 2);
    QCOMPARE(rig.state.uploadIndex, 0);
    rig.f.say({"#ASENDEV: 0"});
    QCOMPARE(rig.f.port.sent.value(2), "AT\r\n");
    QVERIFY(!rig.dialogue.asendPending);
    rig.f.say({"OK"});
    QCOMPARE(rig.f.port.commands().value(2), "AT#ESCRIPT=oru.pyo");
    QCOMPARE(rig.state.uploadIndex, 1);
}

void UploadTest::payloadsGoOutAsTheBufferDrains_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("pieces");
    QTest::newRow("a full buffer in one send") << 64000 << QList<int>{64000};
    QTest::newRow("one byte more after the wait") << 64001 << QList<int>{64000, 1};
    QTest::newRow("beyond twice the buffer in pieces")
        << 300000 << QList<int>{64000, 64000, 64000, 64000, 44000};
}

void UploadTest::payloadsGoOutAsTheBufferDrains() {
    QFETCH(int, size);
    QFETCH(QList<int>, pieces);
    Rig rig;
    const QByteArray data = everyByteValue(size);
    rig.file("big.pyo", data);
    rig.list("big.pyo");
    rig.upgrade();
    QCOMPARE(rig.f.port.commands(), QByteArrayList{"AT#WSCRIPT=big.pyo," + QByteArray::number(size)});
    rig.f.port.clearSent();
    // From the prompt on, each send fills the output buffer; it is empty again after two looks at it.
    rig.f.port.drainAfterPolls = 2;
    const int logged = rig.f.monitorLines().size();
    rig.f.port.deliver(">>>");

    QCOMPARE(rig.f.dialogs.errors, QStringList());
    QList<int> sizes;
    for (const QByteArray& piece : rig.f.port.sent)
        sizes << static_cast<int>(piece.size());
    QCOMPARE(sizes, pieces);
    QCOMPARE(rig.f.port.sentBytes(), data);
    QStringList expectedLog = {QStringLiteral("+++++++++++++++")};
    QList<int> expectedWaits = {500};
    for (qsizetype piece = 1; piece < pieces.size(); ++piece) {
        expectedLog << QStringLiteral("sending") << QStringLiteral("sending")
                    << QStringLiteral("flush buffer");
        expectedWaits << 1000 << 1000;
    }
    QCOMPARE(rig.f.monitorLines().mid(logged), expectedLog);
    QCOMPARE(rig.f.pacer.waits, expectedWaits);
}

void UploadTest::uploadEndsWithoutSending_data() {
    QTest::addColumn<QByteArray>("list");
    // Words the one error report must hold.
    QTest::addColumn<QStringList>("report");
    const auto cannotOpen = [](const QByteArray& name) {
        return QStringLiteral("Cannot open %1: %2").arg(fromBytes(name), Rig::openError(name));
    };
    QTest::newRow("empty list") << QByteArray() << QStringList{"The upgrade list is empty."};
    QTest::newRow("blank first line")
        << QByteArray("\nRUN:oru.pyo") << QStringList{"starts with a blank line"};
    QTest::newRow("missing script") << QByteArray("absent.pyo\nRUN:oru.pyo")
                                    << QStringList{"line 1: " + cannotOpen("absent.pyo")};
    QTest::newRow("missing audio file")
        << QByteArray("ASEND:absent.wav") << QStringList{"line 1: " + cannotOpen("absent.wav")};
    // Found wherever they stand before the first blank line, before the first line is sent.
    QTest::newRow("missing file later in the list") << QByteArray("RUN:oru.pyo\nabsent.pyo\nDEL:old.pyo")
                                                    << QStringList{"line 2: " + cannotOpen("absent.pyo")};
    QTest::newRow("every problem at once")
        << QByteArray("empty.pyo\nASEND:absent.wav")
        << QStringList{"line 1: empty.pyo is empty", "line 2: " + cannotOpen("absent.wav")};
    // The folder is made by the test, after these rows.
    QTest::newRow("script is a folder") << QByteArray("scripts") << QStringList{"Cannot open scripts: "};
    QTest::newRow("empty script") << QByteArray("empty.pyo\nRUN:oru.pyo")
                                  << QStringList{"empty.pyo is empty"};
    QTest::newRow("empty audio file") << QByteArray("ASEND:empty.wav") << QStringList{"empty.wav is empty"};
    QTest::newRow("audio line without a name") << QByteArray("ASEND:") << QStringList{"it names no file"};
    // The FIFO and the link are made by the test: one would block the open, the other never end.
    QTest::newRow("script is a FIFO") << QByteArray("fifo.pyo\nRUN:oru.pyo")
                                      << QStringList{"Cannot open fifo.pyo: it is not a regular file"};
    QTest::newRow("audio file is a link to a device")
        << QByteArray("ASEND:zero.wav") << QStringList{"Cannot open zero.wav: it is not a regular file"};
}

void UploadTest::uploadEndsWithoutSending() {
    QFETCH(QByteArray, list);
    QFETCH(QStringList, report);
    Rig rig;
    rig.file("empty.pyo", {});
    rig.file("empty.wav", {});
    QDir().mkdir(QStringLiteral("scripts"));
    QCOMPARE(::mkfifo("fifo.pyo", 0600), 0);
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), QStringLiteral("zero.wav")));
    rig.list(list);
    rig.upgrade();
    QCOMPARE(rig.f.port.sent, QByteArrayList());
    QVERIFY(!rig.dialogue.uploadActive);
    QVERIFY(!rig.dialogue.asendPending);
    QVERIFY(rig.dialogue.is(Dialogue::Phase::Idle));
    QVERIFY(rig.f.form->Prubeh->isHidden());
    QCOMPARE(rig.f.dialogs.errors.size(), 1);
    QVERIFY2(rig.f.dialogs.errors[0].startsWith(QStringLiteral("Nothing was uploaded")),
             qPrintable(rig.f.dialogs.errors[0]));
    for (const QString& words : report)
        QVERIFY2(rig.f.dialogs.errors[0].contains(words), qPrintable(rig.f.dialogs.errors[0]));
    QCOMPARE(rig.f.pacer.waits, QList<int>());
}

void UploadTest::uploadNeedsAnOpenLine() {
    Rig rig;
    rig.f.port.open = false;
    rig.list("RUN:oru.pyo");
    rig.upgrade();
    QCOMPARE(rig.f.port.sent, QByteArrayList());
    QCOMPARE(rig.f.dialogs.errors.size(), 1);
    QVERIFY2(rig.f.dialogs.errors[0].contains(QStringLiteral("No unit is connected")),
             qPrintable(rig.f.dialogs.errors[0]));
    QVERIFY(rig.dialogue.is(Dialogue::Phase::Idle));
}

void UploadTest::fileTooLargeForItsSizeIsRefused() {
    Rig rig;
    QFile huge(QStringLiteral("huge.wav"));
    // A sparse file: its size takes no room.
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64{std::numeric_limits<int>::max()} + 1));
    rig.list("ASEND:huge.wav");
    rig.upgrade();
    QCOMPARE(rig.f.dialogs.errors.size(), 1);
    QVERIFY(rig.f.dialogs.errors[0].contains("huge.wav is too large to upload: 2147483648 bytes"));
    QCOMPARE(rig.f.port.sent, QByteArrayList());
    QVERIFY(!rig.dialogue.uploadActive);
}

void UploadTest::startingOverForgetsAnAnswerStillAwaited() {
    Rig rig;
    rig.file("ring.wav", "RIFF");
    // A command's answer never came; the list is replaced and started over.
    rig.list("RUN:a.pyo");
    rig.upgrade();
    rig.list("\nDEL:old.pyo");
    rig.upgrade();
    QCOMPARE(rig.f.dialogs.errors.size(), 1);
    // The late answer does not carry a run on: the new list was refused and the old run is over.
    rig.f.say({"OK"});
    QCOMPARE(rig.f.port.commands(), QByteArrayList{"AT#ESCRIPT=a.pyo"});
    // An audio file's report never came; its OK gate does not hold the new run.
    rig.list("ASEND:ring.wav");
    rig.upgrade();
    rig.list("RUN:oru.pyo\nDEL:old.pyo");
    rig.upgrade();
    rig.f.say({"OK"});
    QCOMPARE(rig.f.port.commands().mid(2), (QByteArrayList{"AT#ESCRIPT=oru.pyo", "AT#DSCRIPT=old.pyo"}));
}

void UploadTest::loadListAppendsEveryLine() {
    Rig rig;
    const QString start = QDir::currentPath();
    rig.file("lists/up.ifo", "RUN:a.pyo\r\n\r\ncaf\xe9.pyo\nDEL:b.pyo");
    rig.file("lists/second.ifo", "\nSET:ATE0\n");
    rig.f.form->List->setPlainText(QStringLiteral("typed"));
    rig.f.form->ClrList->click();
    const QString listPath = QDir(start).filePath(QStringLiteral("lists/up.ifo"));
    rig.f.dialogs.openAnswers = {listPath, QStringLiteral("up.ifo"), QStringLiteral("second.ifo")};
    rig.f.form->LoadList->click();
    QCOMPARE(rig.f.dialogs.lastFolder, start);
    // The list's folder is now the current one: names given relative to it are found.
    QCOMPARE(QDir::currentPath(), QFileInfo(listPath).absolutePath());
    rig.f.form->LoadList->click();
    rig.f.form->LoadList->click();
    QCOMPARE(rig.f.dialogs.problems(), QString());
    QCOMPARE(rig.f.dialogs.errors, QStringList());
    QCOMPARE(rig.f.dialogs.filters, QStringList(3, ListFilter));
    QCOMPARE(toBytes(rig.f.form->List->toPlainText()),
             "RUN:a.pyo\n\ncaf\xe9.pyo\nDEL:b.pyo\nRUN:a.pyo\n\ncaf\xe9.pyo\nDEL:b.pyo\n\nSET:ATE0");
    rig.upgrade();
    QCOMPARE(rig.f.form->Prubeh->maximum(), 11);
}

void UploadTest::loadListCancelledOrUnreadable() {
    Rig rig;
    const QString start = QDir::currentPath();
    rig.list("RUN:a.pyo");
    const QString absent = QDir(start).filePath(QStringLiteral("gone/absent.ifo"));
    rig.f.dialogs.openAnswers = {QString(), absent};
    rig.f.form->LoadList->click();
    QCOMPARE(QDir::currentPath(), start);
    rig.f.form->LoadList->click();
    QCOMPARE(rig.f.dialogs.errors, QStringList{"Cannot read the file " + absent + ": " +
                                               Rig::openError(QFile::encodeName(absent))});
    QCOMPARE(rig.f.form->List->toPlainText(), QStringLiteral("RUN:a.pyo"));
}

void UploadTest::loadListLineEnds_data() {
    QTest::addColumn<QByteArrayList>("files");
    QTest::addColumn<QByteArrayList>("entries");
    QTest::newRow("one blank line") << QByteArrayList{"\n"} << QByteArrayList{""};
    QTest::newRow("one blank line ended by CR LF") << QByteArrayList{"\r\n"} << QByteArrayList{""};
    QTest::newRow("a blank line, then another list")
        << QByteArrayList{"\n", "RUN:a.pyo\n"} << QByteArrayList{"", "RUN:a.pyo"};
    QTest::newRow("two blank lines") << QByteArrayList{"\n\r\n"} << QByteArrayList{"", ""};
    QTest::newRow("lone CR inside a line")
        << QByteArrayList{"SET:AT+X=1\r2\r\nDEL:b.pyo"} << QByteArrayList{"SET:AT+X=1\r2", "DEL:b.pyo"};
    QTest::newRow("CR CR LF keeps one CR") << QByteArrayList{"a.pyo\r\r\n"} << QByteArrayList{"a.pyo\r"};
    QTest::newRow("empty file") << QByteArrayList{""} << QByteArrayList{};
}

// The list's format: a line ends at a line feed, with or without a CR before it; blank lines count.
void UploadTest::loadListLineEnds() {
    QFETCH(QByteArrayList, files);
    QFETCH(QByteArrayList, entries);
    Rig rig;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QByteArray name = "list" + QByteArray::number(i) + ".ifo";
        rig.file(name, files[i]);
        rig.f.dialogs.openAnswers << QFile::decodeName(name);
        rig.f.form->LoadList->click();
    }
    QCOMPARE(listLineCount(rig.f.form->List), entries.size());
    QByteArrayList held;
    for (int i = 0; i < entries.size(); ++i)
        held << listLine(rig.f.form->List, i);
    QCOMPARE(held, entries);
    QCOMPARE(rig.f.dialogs.errors, QStringList());
    rig.f.form->ClrList->click();
    QCOMPARE(listLineCount(rig.f.form->List), 0);
}

void UploadTest::loadListRefusesWhatIsNotAFile_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("FIFO") << "fifo.ifo";
    QTest::newRow("link to /dev/zero") << "zero.ifo";
}

void UploadTest::loadListRefusesWhatIsNotAFile() {
    QFETCH(QString, name);
    Rig rig;
    QCOMPARE(::mkfifo("fifo.ifo", 0600), 0);
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), QStringLiteral("zero.ifo")));
    rig.list("RUN:a.pyo");
    rig.f.dialogs.openAnswers << QDir::current().filePath(name);
    rig.f.form->LoadList->click();
    QCOMPARE(rig.f.dialogs.errors.size(), 1);
    QVERIFY2(rig.f.dialogs.errors[0].contains(name + QStringLiteral(": it is not a regular file")),
             qPrintable(rig.f.dialogs.errors[0]));
    QCOMPARE(rig.f.form->List->toPlainText(), QStringLiteral("RUN:a.pyo"));
}

QTEST_MAIN(UploadTest)
#include "tst_upload.moc"
