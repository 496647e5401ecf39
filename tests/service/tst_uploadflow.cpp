#include "RecordingPacer.h"
#include "ScriptedDialogs.h"
#include "TestData.h"

#include "Transcript.h"

#include "app/TForm1.h"
#include "sim/SimulatedPort.h"
#include "sim/SimulatedUnit.h"
#include "widgets/StatusPanels.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Files whose data look like the module's own answers and prompts, and ones longer than the output buffer.
const QMap<QByteArray, QByteArray> Scripts = {
    {"old.pyo", "print('>>>')\r\nOK\r\n#ASENDEV: 0\r\n" + everyByteValue(900)},
    {"oru.pyo", everyByteValue(70000)},
};
const QMap<QByteArray, QByteArray> AudioFiles = {{"ring.wav", everyByteValue(150000)}};

} // namespace

class UploadFlowTest : public QObject {
    Q_OBJECT

    QString m_folder;

private slots:
    void init() { m_folder = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_folder); }

    void listRunsThroughOnTheUnit_data();
    void listRunsThroughOnTheUnit();
};

void UploadFlowTest::listRunsThroughOnTheUnit_data() {
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<bool>("whole");
    // How the log and the status bar say it ended.
    QTest::addColumn<QString>("done");
    const QByteArray lines = "old.pyo\r\noru.pyo\r\nASEND:ring.wav\r\nRUN:oru.pyo\r\n";
    const QStringList written = {"AT#WSCRIPT=old.pyo,931", "+++++++++++++++", "AT#WSCRIPT=oru.pyo,70000",
                                 "+++++++++++++++",        "flush buffer",    "AT#ASEND=ring.wav,150000",
                                 "+++++++++++++++",        "flush buffer",    "flush buffer",
                                 "AT#ESCRIPT=oru.pyo"};
    QTest::newRow("to the end of the list")
        << lines + "SET:ATE0\r\nDEL:stale.pyo\r\n"
        << written + QStringList{"ATE0", "AT#DSCRIPT=stale.pyo"} << true << "Upload done: 6 lines";
    QTest::newRow("to a blank line")
        << lines + "\r\nSET:ATE0\r\nDEL:stale.pyo\r\n"
        << written << false
        << "Upload done: 4 lines; the blank line 5 ends the list, so line 6 \"SET:ATE0\", line 7 "
           "\"DEL:stale.pyo\" were not sent";
}

void UploadFlowTest::listRunsThroughOnTheUnit() {
    QFETCH(QByteArray, list);
    QFETCH(QStringList, commands);
    QFETCH(bool, whole);
    QFETCH(QString, done);

    QTemporaryDir dir;
    const QDir folder(dir.filePath(QStringLiteral("upgrade")));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    for (const auto& files : {Scripts, AudioFiles})
        for (auto file = files.begin(); file != files.end(); ++file)
            writeFile(folder.filePath(QString::fromLatin1(file.key())), file.value());
    writeFile(folder.filePath(QStringLiteral("upgrade.ifo")), list);

    SimOptions options;
    options.startStopped = true;
    SimulatedUnit unit(options);
    SimulatedPort port(unit);
    {
        // The unit holds a script from before, which the list deletes.
        Transcript before(port);
        QCOMPARE(before.play("> AT#WSCRIPT=stale.pyo,7\n< AT#WSCRIPT=stale.pyo,7\n< >>>\n> stale\n< OK"),
                 QString());
    }
    RecordingPacer pacer;
    ScriptedDialogs dialogs;
    TForm1 form(port, pacer, dialogs, QStringLiteral("zuvovu"), dir.filePath(QStringLiteral("zuvovu.ini")));
    dialogs.openAnswers = {folder.filePath(QStringLiteral("upgrade.ifo"))};
    form.LoadList->click();
    form.Upgrade->click();
    settle(port);

    QCOMPARE(dialogs.problems(), QString());
    // Lines left out by a blank line are said in a message too.
    QCOMPARE(dialogs.errors, whole ? QStringList() : QStringList{"The upload sent " + done.mid(13) + '.'});
    QStringList logged;
    for (const QString& line : form.Monitor->toPlainText().split(QLatin1Char('\n')))
        if (!line.startsWith(QLatin1Char('['))) logged << line;
    QCOMPARE(logged, commands + QStringList{done});
    QCOMPARE(form.StatusBar1->currentMessage(), done);

    QMap<QByteArray, QByteArray> scripts = Scripts;
    if (!whole) scripts.insert("stale.pyo", "stale\r\n");
    QCOMPARE(unit.scripts(), scripts);
    QCOMPARE(unit.audioFiles(), AudioFiles);
    QCOMPARE(unit.selectedScript(), "oru.pyo");
    QCOMPARE(unit.echo(), !whole);
    QVERIFY(form.Prubeh->isHidden());
    QVERIFY(!form.dialogue.uploadActive);
    QVERIFY(!form.dialogue.asendPending);
}

QTEST_MAIN(UploadFlowTest)
#include "tst_uploadflow.moc"
