#include "ProgrammingFixture.h"

#include "core/UserDialogs.h"
#include "core/WholeFile.h"
#include "engine/ReadBackRecord.h"
#include "files/Backup.h"
#include "widgets/StatusPanels.h"

#include <QDir>
#include <QtTest>

Q_DECLARE_METATYPE(UserDialogs::UnsavedChoice)

// The device group's Save against the simulated unit: it asks first with what would change, keeps the
// unit's configuration as a backup before the first write, and says how programming ended.
class ConfirmProgrammingTest : public QObject {
    Q_OBJECT
private slots:
    void confirmationListsTheChanges_data();
    void confirmationListsTheChanges();
    void cancelSendsNothing();
    void aLostPortIsReadAgainBeforeProgramming();
    void backupIsWhatTheUnitHeld();
    void closingWhileProgrammingAsks_data();
    void closingWhileProgrammingAsks();
    void closingWithUnsavedEditsAsks_data();
    void closingWithUnsavedEditsAsks();
};

namespace {

// A window on a unit with a few settings, started.
struct Fixture : ProgrammingFixture {
    explicit Fixture(bool readBack = true)
        : ProgrammingFixture({{1, {"+420603111222", "ADMIN1"}}, {2, {"+420111", "ABUTTON1"}}}, readBack) {
        // As after a read-back that stopped half-way.
        if (!readBack) form->SaveORU->setEnabled(true);
    }
};

} // namespace

void ConfirmProgrammingTest::confirmationListsTheChanges_data() {
    QTest::addColumn<bool>("readBack");
    QTest::addColumn<bool>("programmedBefore");
    QTest::addColumn<QString>("admin1");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("accept");
    QTest::addColumn<QStringList>("details");
    // The unit is read first, and the window's own configuration, empty but for its settings, compared.
    QTest::newRow("nothing read back") << false << false << QString() << "against the last read-back"
                                       << "Program"
                                       << QStringList{"ADMIN1: +420603111222 → (none)",
                                                      "ABUTTON1: +420111 → (none)",
                                                      "PARORU: (none) → 1#1#0#0#0#0#0#2",
                                                      "PARRL1: (none) → 5#0#03#0",
                                                      "PARRL2: (none) → 6#0#03#0",
                                                      "PARKEY: (none) → 2#0",
                                                      "4 locations of the SIM would be written or cleared"};
    QTest::newRow("nothing changes") << true << true << QString() << "Programming would change nothing"
                                     << "Program anyway" << QStringList();
    QTest::newRow("one setting edited") << true << true << "+420999"
                                        << "against the last read-back"
                                        << "Program"
                                        << QStringList{"ADMIN1: +420603111222 → +420999",
                                                       "1 location of the SIM would be written or cleared"};
}

void ConfirmProgrammingTest::confirmationListsTheChanges() {
    QFETCH(bool, readBack);
    QFETCH(bool, programmedBefore);
    QFETCH(QString, admin1);
    QFETCH(QString, text);
    QFETCH(QString, accept);
    QFETCH(QStringList, details);
    Fixture f(readBack);
    // Once programmed and read back, the unit holds exactly what the window would write.
    if (programmedBefore) {
        f.programAnswering(true);
        QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
        f.dialogs.confirmations.clear();
    }
    if (!admin1.isEmpty()) f.form->ADMIN[0]->setText(admin1);
    const QMap<int, SimEntry> held = f.unit.phonebook();

    f.programAnswering(false);
    QCOMPARE(f.dialogs.confirmations.size(), 1);
    const Confirmation& question = f.dialogs.confirmations.first();
    QVERIFY2(question.text.contains(text), qPrintable(question.text));
    QVERIFY(question.text.contains(QDir::toNativeSeparators(backupFolder())));
    QCOMPARE(question.accept, accept);
    QCOMPARE(question.details.join('\n'), details.join('\n'));
    QCOMPARE(f.unit.phonebook(), held);
    QVERIFY2(f.dialogs.problems().isEmpty(), qPrintable(f.dialogs.problems()));
}

void ConfirmProgrammingTest::cancelSendsNothing() {
    Fixture f;
    f.form->ADMIN[0]->setText(QStringLiteral("+420999"));
    const QStringList monitor = f.monitorLines();
    const QMap<int, SimEntry> held = f.unit.phonebook();
    f.programAnswering(false);
    QCOMPARE(f.monitorLines(), monitor);
    QCOMPARE(f.unit.phonebook(), held);
    QVERIFY(f.form->dialogue.is(Dialogue::Phase::Idle));
    QVERIFY(f.backups().isEmpty());
}

// The adapter may come back on another unit: what the last one held is neither compared nor backed up;
// the unit is read again before anything is asked.
void ConfirmProgrammingTest::aLostPortIsReadAgainBeforeProgramming() {
    Fixture f;
    f.port.vanish();
    f.click([&f] { f.form->signalClick(); });
    QVERIFY(!f.port.isOpen());
    QVERIFY(!f.form->SaveORU->isEnabled());
    f.dialogs.errors.clear();
    // Connected again, the unit is greeted and its buttons come back with its answer. It was stopped
    // before and does not report stopping again: Stop asks it, well within the limit, and reads it.
    f.click([&f] { f.form->PortConnectClick(); });
    QVERIFY(f.form->SaveORU->isEnabled());
    f.form->dialogue.stopAnswerMs = 200;
    f.click([&f] { f.form->StopORUClick(); });
    QTRY_VERIFY(f.form->readBack->known());
    f.settle();
    f.programAnswering(true);
    QCOMPARE(f.dialogs.confirmations.size(), 1);
    QCOMPARE(f.backups().size(), 1);
    QVERIFY2(f.monitorLines().join('\n').contains(QStringLiteral("the read-back found them as written")),
             qPrintable(f.monitorLines().join('\n')));
    QCOMPARE(f.unit.phonebook().value(3).name, QByteArray("PARORU"));
}

void ConfirmProgrammingTest::backupIsWhatTheUnitHeld() {
    Fixture f;
    const QMap<int, SimEntry> before = f.unit.phonebook();
    f.form->ADMIN[0]->setText(QStringLiteral("+420999"));

    f.programAnswering(true);
    QCOMPARE(f.unit.phonebook().value(1), (SimEntry{"+420999", "ADMIN1"}));
    QCOMPARE(f.backups().size(), 1);
    const QString backup = QDir(backupFolder()).filePath(f.backups().first());
    // Every entry as the unit held it, and nothing the window held besides: no settings strings.
    QByteArray held;
    for (const QByteArray key : {"ADMIN", "ABUTTON", "BBUTTON"})
        for (int n = 1; n <= 7; ++n)
            held += key + QByteArray::number(n) + '=' +
                    (key == "ADMIN" && n == 1     ? "+420603111222"
                     : key == "ABUTTON" && n == 1 ? "+420111"
                                                  : "") +
                    "\r\n";
    held += "ALARMON=\r\nALARMOFF=\r\nPARORU=\r\nPARRL1=\r\nPARRL2=\r\nPARKEY=\r\n";
    QCOMPARE(readWholeFile(backup), held);
    QVERIFY(f.monitorLines().contains("backup of the unit: " + QDir::toNativeSeparators(backup)));
    // Said at the end of the read-back that checks it: only the locations that differed were written.
    const QString said = f.form->StatusBar1->currentMessage();
    QVERIFY2(
        said.startsWith(QStringLiteral("Programmed ")) &&
            said.endsWith(QStringLiteral(" changed of 250 locations; the read-back found them as written")),
        qPrintable(said));

    // Loading the backup and programming it puts back what the unit held.
    f.dialogs.openAnswers << backup;
    f.click([&f] { f.form->LoadClick(); });
    f.programAnswering(true);
    QCOMPARE(f.unit.phonebook(), before);
    QCOMPARE(f.backups().size(), 2);
    QVERIFY2(f.dialogs.problems().isEmpty(), qPrintable(f.dialogs.problems()));
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
}

void ConfirmProgrammingTest::closingWhileProgrammingAsks_data() {
    QTest::addColumn<bool>("leave");
    QTest::newRow("Leave closes") << true;
    QTest::newRow("Cancel keeps the window") << false;
}

void ConfirmProgrammingTest::closingWhileProgrammingAsks() {
    QFETCH(bool, leave);
    Fixture f;
    f.form->run([&f] { f.form->SaveORUClick(); });
    QVERIFY(f.form->dialogue.is(Dialogue::Phase::Programming));
    f.dialogs.confirmAnswers << leave;
    QCOMPARE(f.form->close(), leave);
    QCOMPARE(f.dialogs.confirmations.size(), 1);
    QVERIFY(f.dialogs.confirmations.first().text.contains(QStringLiteral("half-written")));
}

void ConfirmProgrammingTest::closingWithUnsavedEditsAsks_data() {
    QTest::addColumn<bool>("edit");
    QTest::addColumn<QList<UserDialogs::UnsavedChoice>>("answers");
    QTest::addColumn<QStringList>("saveAnswers");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");
    using C = UserDialogs::UnsavedChoice;
    QTest::newRow("no edit: nothing asked") << false << QList<C>{} << QStringList{} << true << false;
    QTest::newRow("Discard") << true << QList<C>{C::Discard} << QStringList{} << true << false;
    QTest::newRow("Cancel") << true << QList<C>{C::Cancel} << QStringList{} << false << false;
    QTest::newRow("Save to file") << true << QList<C>{C::Save} << QStringList{"kept.oru"} << true << true;
    QTest::newRow("Save, file dialog cancelled")
        << true << QList<C>{C::Save} << QStringList{""} << false << false;
}

void ConfirmProgrammingTest::closingWithUnsavedEditsAsks() {
    QFETCH(bool, edit);
    QFETCH(QList<UserDialogs::UnsavedChoice>, answers);
    QFETCH(QStringList, saveAnswers);
    QFETCH(bool, closes);
    QFETCH(bool, saved);
    Fixture f;
    if (edit) f.form->ADMIN[0]->setText(QStringLiteral("+420999"));
    f.dialogs.unsavedAnswers = answers;
    for (const QString& name : saveAnswers)
        f.dialogs.saveAnswers << (name.isEmpty() ? name : f.path(name));
    QCOMPARE(f.form->close(), closes);
    QCOMPARE(f.dialogs.unsavedQuestions.size(), answers.size());
    QCOMPARE(QFileInfo::exists(f.path(QStringLiteral("kept.oru"))), saved);
    if (saved) QVERIFY(readWholeFile(f.path(QStringLiteral("kept.oru"))).startsWith("ADMIN1=+420999\r\n"));
    QVERIFY2(f.dialogs.problems().isEmpty(), qPrintable(f.dialogs.problems()));
}

QTEST_MAIN(ConfirmProgrammingTest)
#include "tst_confirmprogramming.moc"
