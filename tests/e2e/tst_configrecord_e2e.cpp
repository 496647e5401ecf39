#include "ProgrammingFixture.h"

#include "core/UserDialogs.h"
#include "core/WholeFile.h"
#include "files/Backup.h"
#include "widgets/StatusPanels.h"

#include <QDir>
#include <QLineEdit>
#include <QtTest>

// The window's configuration against a simulated unit: what the unit holds, what the user changed, and
// what programming, backups and the closing question make of the two.
class ConfigRecordTest : public QObject {
    Q_OBJECT
private slots:
    void backupHoldsWhatTheUnitReported();
    void closingAsksForEditsTheUnitLacks_data();
    void closingAsksForEditsTheUnitLacks();
    void verificationSpeaksOfItsOwnProgramming();
    void savingAnUnreadUnitReadsItFirst();
    void settingsChangesAreNamedByTheirControls();
};

namespace {

// A unit holding strings the controls would encode otherwise, the script version and a row.
QMap<int, SimEntry> oddUnit() {
    return {{1, {"+420603111222", "ADMIN1"}},
            {2, {"4#4#0#0#1#7#2#0", "PARORU"}},
            {3, {"5#1#03#1#1", "PARRL1"}},
            {4, {"6#1#03#1", "PARRL2"}},
            {5, {"2#0", "PARKEY"}},
            {6, {"777", "Anna"}},
            {7, {"2.1#", "VER"}}};
}

struct Fixture : ProgrammingFixture {
    explicit Fixture(const QMap<int, SimEntry>& phonebook = oddUnit(), bool readBack = true)
        : ProgrammingFixture(phonebook, readBack) {}
};

} // namespace

// Typed before the read, a number the unit lacks stays out of the backup; a touched setting does not
// change what the backup says the unit held; a string one field longer is kept whole. Programming the
// backup gives the unit back its content.
void ConfigRecordTest::backupHoldsWhatTheUnitReported() {
    Fixture f(oddUnit(), false);
    f.form->ADMIN[1]->setText(QStringLiteral("+420222"));
    f.click([&f] { f.form->StopORUClick(); });
    f.form->VolMic->triggerAction(QAbstractSlider::SliderSingleStepSub);
    f.programAnswering(true);
    QCOMPARE(f.unit.phonebook().value(2), (SimEntry{"+420222", "ADMIN2"}));
    QCOMPARE(f.backups().size(), 1);
    const QString backup = QDir(backupFolder()).filePath(f.backups().first());
    const QByteArray text = readWholeFile(backup);
    QVERIFY2(text.startsWith("ADMIN1=+420603111222\r\nADMIN2=\r\n"), text.constData());
    QVERIFY2(text.endsWith("ALARMOFF=\r\nPARORU=4#4#0#0#1#7#2#0\r\nPARRL1=5#1#03#1#1\r\nPARRL2=6#1#03#1\r\n"
                           "PARKEY=2#0\r\nAnna=777\r\nVER=2.1#\r\n"),
             text.constData());

    f.dialogs.openAnswers << backup;
    f.click([&f] { f.form->LoadClick(); });
    f.programAnswering(true);
    QCOMPARE(f.unit.phonebook(), oddUnit());
    QVERIFY2(f.dialogs.problems().isEmpty(), qPrintable(f.dialogs.problems()));
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
}

void ConfigRecordTest::closingAsksForEditsTheUnitLacks_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("a number the unit lacks, then the unit read again")
        << "ADMIN3" << QByteArray("ADMIN3=+420333");
    QTest::newRow("a value typed into an editable list") << "WaitBUF" << QByteArray("PARKEY=5#0");
}

void ConfigRecordTest::closingAsksForEditsTheUnitLacks() {
    QFETCH(QString, edit);
    QFETCH(QByteArray, saved);
    Fixture f;
    if (edit == QLatin1String("ADMIN3")) {
        QTest::keyClicks(f.form->ADMIN[2], QStringLiteral("+420333"));
        f.click([&f] { f.form->LoadORUClick(); });
    } else {
        f.form->WaitBUF->lineEdit()->selectAll();
        QTest::keyClicks(f.form->WaitBUF, QStringLiteral("5"));
    }
    f.dialogs.unsavedAnswers << UserDialogs::UnsavedChoice::Save;
    f.dialogs.saveAnswers << f.path(QStringLiteral("kept.oru"));
    QVERIFY(f.form->close());
    QCOMPARE(f.dialogs.unsavedQuestions.size(), 1);
    const QByteArray file = readWholeFile(f.path(QStringLiteral("kept.oru")));
    QVERIFY2(file.contains(saved + "\r\n"), file.constData());
    QVERIFY2(f.dialogs.problems().isEmpty(), qPrintable(f.dialogs.problems()));
}

// A programming whose read-back never came has no result; a later read-back says nothing of it.
void ConfigRecordTest::verificationSpeaksOfItsOwnProgramming() {
    Fixture f;
    f.form->ADMIN[0]->setText(QStringLiteral("+420999"));
    f.unit.ignoreNext("AT+CPBR=1,250");
    f.programAnswering(true);
    QVERIFY(f.form->dialogue.is(Dialogue::Phase::ReadingBack));
    f.pacer.expire();
    f.settle();
    QCOMPARE(f.dialogs.errors.size(), 1);
    f.dialogs.errors.clear();
    const qsizetype before = f.monitorLines().size();
    f.click([&f] { f.form->LoadORUClick(); });
    QVERIFY(f.monitorLines().size() > before);
    QVERIFY(f.monitorLines().mid(before).filter(QStringLiteral("the read-back found")).isEmpty());
    QVERIFY(!f.form->StatusBar1->currentMessage().contains(QStringLiteral("Programmed")));
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
}

// Without the unit's size and content there is nothing to compare or write into: the unit is read, then
// asked about, then programmed with what the window held.
void ConfigRecordTest::savingAnUnreadUnitReadsItFirst() {
    Fixture f(oddUnit(), false);
    f.form->SaveORU->setEnabled(true);
    f.form->ADMIN[0]->setText(QStringLiteral("+420999"));
    f.programAnswering(true);
    QCOMPARE(f.dialogs.confirmations.size(), 1);
    QVERIFY2(
        f.dialogs.confirmations.first().details.contains(QStringLiteral("ADMIN1: +420603111222 → +420999")),
        qPrintable(f.dialogs.confirmations.first().details.join('\n')));
    QCOMPARE(f.unit.phonebook().value(1), (SimEntry{"+420999", "ADMIN1"}));
    QVERIFY(f.monitorLines().filter(QStringLiteral("ERROR")).isEmpty());
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
}

void ConfigRecordTest::settingsChangesAreNamedByTheirControls() {
    QMap<int, SimEntry> unit = oddUnit();
    unit[3].number = "5#1#03#1";
    Fixture f(unit);
    f.form->RelTime1->setText(QStringLiteral("17"));
    f.programAnswering(false);
    QCOMPARE(f.dialogs.confirmations.size(), 1);
    const QStringList details = f.dialogs.confirmations.first().details;
    QVERIFY2(details.contains(QStringLiteral("Relay 1 switching time: 03 s → 17 s")),
             qPrintable(details.join('\n')));
    QVERIFY2(details.contains(QStringLiteral("lost: location 7: VER=2.1#")), qPrintable(details.join('\n')));
}

QTEST_MAIN(ConfigRecordTest)
#include "tst_configrecord_e2e.moc"
