#include "ProgrammingFixture.h"

#include "engine/ReadBackRecord.h"
#include "files/Backup.h"
#include "files/PhoneBookList.h"
#include "widgets/Picture.h"

#include <QDir>
#include <QtTest>

// What the unit holds is one record, kept true after every answer and every early end: programming after
// an early end writes exactly what the unit lacks; a unit found stopped is read in every state before it
// is compared or programmed; connecting changes nothing the window shows; whatever the receiver takes for a
// listed entry, the record keeps.
class UnitRecordTest : public QObject {
    Q_OBJECT
private slots:
    void restoringAfterAnEarlyEndPutsTheUnitBack_data();
    void restoringAfterAnEarlyEndPutsTheUnitBack();
    void aUnitFoundStoppedIsRead_data();
    void aUnitFoundStoppedIsRead();
    void connectingKeepsWhatTheWindowShows();
    void anEntryHoldingAnAnswersWordIsKept();
};

namespace {

// ADMIN1 and four settings strings at locations 1 to 5, then Flat1 … Flat10 at locations 6 to 15.
QMap<int, SimEntry> flatsUnit() {
    QMap<int, SimEntry> book{{1, {"+420603111222", "ADMIN1"}},
                             {2, {"4#4#0#0#1#7#2#0", "PARORU"}},
                             {3, {"5#1#03#1", "PARRL1"}},
                             {4, {"6#1#03#1", "PARRL2"}},
                             {5, {"2#0", "PARKEY"}}};
    for (int i = 1; i <= 10; ++i)
        book.insert(5 + i, {"60311100" + QByteArray::number(i), "Flat" + QByteArray::number(i)});
    return book;
}

SimOptions unitHolding(const QMap<int, SimEntry>& book, bool stopped = false) {
    SimOptions options;
    options.capacity = 60;
    options.phonebook = book;
    options.startStopped = stopped;
    return options;
}

void showRows(TForm1& form, const QByteArrayList& rows) {
    form.PhoneBook1->clearLines();
    for (const QByteArray& row : rows)
        form.PhoneBook1->appendLine(row);
}

QByteArrayList gridRows(const TForm1& form) {
    QByteArrayList rows;
    for (int i = 0; i < form.PhoneBook1->lineCount(); ++i)
        rows << form.PhoneBook1->line(i);
    return rows;
}

enum class EarlyEnd { WriteRefused, WriteUnanswered, ReadBackRefused };

} // namespace

Q_DECLARE_METATYPE(EarlyEnd)

void UnitRecordTest::restoringAfterAnEarlyEndPutsTheUnitBack_data() {
    QTest::addColumn<EarlyEnd>("end");
    QTest::newRow("the second write refused") << EarlyEnd::WriteRefused;
    QTest::newRow("the second write unanswered") << EarlyEnd::WriteUnanswered;
    QTest::newRow("the read-back after the writes refused") << EarlyEnd::ReadBackRefused;
}

// Three rows changed; programming ends early. Doing what its report says, restoring the backup, writes
// back what the unit now holds of the new content, and the unit holds what it held before.
void UnitRecordTest::restoringAfterAnEarlyEndPutsTheUnitBack() {
    QFETCH(EarlyEnd, end);
    ProgrammingFixture f(unitHolding(flatsUnit()), true);
    QByteArrayList rows = gridRows(*f.form);
    rows[0] = "Flat1=111";
    rows[1] = "Flat2=222";
    rows[2] = "Flat3=333";
    showRows(*f.form, rows);
    switch (end) {
    case EarlyEnd::WriteRefused:
        f.unit.failNext("AT+CPBW=7,", "+CME ERROR: 24");
        break;
    case EarlyEnd::WriteUnanswered:
        f.unit.ignoreNext("AT+CPBW=7,");
        break;
    case EarlyEnd::ReadBackRefused:
        f.unit.failNext("AT+CPBR=1,", "+CME ERROR: 10");
        break;
    }
    f.programAnswering(true);
    if (end == EarlyEnd::WriteUnanswered) {
        f.pacer.expire();
        f.settle();
    }
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY(f.form->dialogue.is(Dialogue::Phase::Idle));
    QCOMPARE(f.unit.phonebook().value(6), (SimEntry{"111", "Flat1"}));
    const QString backup = QDir(backupFolder()).filePath(f.backups().last());

    f.dialogs.openAnswers << backup;
    f.dialogs.confirmAnswers << true;
    f.form->RestoreBackup->click();
    f.settle();
    const Confirmation& question = f.dialogs.confirmations.last();
    QVERIFY2(!question.text.startsWith(QStringLiteral("Programming would change nothing")),
             qPrintable(question.text));
    QVERIFY2(question.details.join('\n').contains(QStringLiteral("Flat1")),
             qPrintable(question.details.join('\n')));
    QCOMPARE(f.unit.phonebook(), flatsUnit());
    QVERIFY2(f.dialogs.errors.size() == 1, qPrintable(f.dialogs.errors.join('\n')));
    QVERIFY(f.form->readBack->current());
}

void UnitRecordTest::aUnitFoundStoppedIsRead_data() {
    QTest::addColumn<bool>("connectedAgain");
    QTest::addColumn<bool>("save");
    QTest::newRow("at start-up, Save") << false << true;
    QTest::newRow("at start-up, Load") << false << false;
    QTest::newRow("connected again, Save") << true << true;
    QTest::newRow("connected again, Load") << true << false;
}

// A unit that answers its maker's name while the stop line is off is stopped already: Load reads it, and
// Save reads it first and then asks, holding it stopped meanwhile.
void UnitRecordTest::aUnitFoundStoppedIsRead() {
    QFETCH(bool, connectedAgain);
    QFETCH(bool, save);
    ProgrammingFixture f(unitHolding(flatsUnit(), true), false);
    TForm1& form = *f.form;
    if (connectedAgain) {
        f.click([&] { form.PortDisconnectClick(); });
        f.click([&] { form.PortConnectClick(); });
    }
    QVERIFY(!form.DeviceStop->isHidden() && form.SaveORU->isEnabled() && form.LoadORU->isEnabled());
    if (save) {
        form.ADMIN[0]->setText(QStringLiteral("+420999"));
        f.programAnswering(true);
        QCOMPARE(f.dialogs.confirmations.size(), 1);
        QCOMPARE(f.unit.phonebook().value(1), (SimEntry{"+420999", "ADMIN1"}));
    } else {
        f.click([&] { form.LoadORU->click(); });
        QCOMPARE(form.ADMIN[0]->text(), QStringLiteral("+420603111222"));
        QCOMPARE(form.PhoneBook1->lineCount(), 10);
    }
    QVERIFY(form.readBack->current());
    QVERIFY(form.dialogue.is(Dialogue::Phase::Idle));
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
}

// The phone book and the numbers the user edited stay as they are through a disconnection and a new
// greeting of the unit.
void UnitRecordTest::connectingKeepsWhatTheWindowShows() {
    ProgrammingFixture f(unitHolding(flatsUnit()), true);
    TForm1& form = *f.form;
    QByteArrayList rows = gridRows(form);
    rows << "Porter=555";
    showRows(form, rows);
    form.ADMIN[1]->setText(QStringLiteral("+420777"));
    f.click([&] { form.PortDisconnectClick(); });
    f.click([&] { form.PortConnectClick(); });
    QVERIFY(!form.DeviceStop->isHidden() || !form.DeviceRun->isHidden());
    QCOMPARE(gridRows(form), rows);
    QCOMPARE(form.ADMIN[0]->text(), QStringLiteral("+420603111222"));
    QCOMPARE(form.ADMIN[1]->text(), QStringLiteral("+420777"));
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
}

// A name holding "+CPBR: (" is no size answer to the receiver, so it is none to the record either: the
// verification finds it as written, and the unit's backup keeps it.
void UnitRecordTest::anEntryHoldingAnAnswersWordIsKept() {
    ProgrammingFixture f(unitHolding(flatsUnit()), true);
    QByteArrayList rows = gridRows(*f.form);
    rows << "Gate +CPBR: (B)=555";
    showRows(*f.form, rows);
    f.programAnswering(true);
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join('\n')));
    QCOMPARE(f.unit.phonebook().value(16), (SimEntry{"555", "Gate +CPBR: (B)"}));
    QCOMPARE(f.form->readBack->locations().value(16), (SimLocation{"555", "Gate +CPBR: (B)"}));
    QVERIFY(f.form->readBack->backup().contains("Gate +CPBR: (B)=555"));
    QVERIFY2(f.form->LastResult->text().contains(QStringLiteral("as written")),
             qPrintable(f.form->LastResult->text()));
}

QTEST_MAIN(UnitRecordTest)
#include "tst_unitrecord_e2e.moc"
