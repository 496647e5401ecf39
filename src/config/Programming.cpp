#include "app/ConfigurationView.h"
#include "app/TForm1.h"
#include "config/FixedEntries.h"
#include "core/Failure.h"
#include "widgets/Bar.h"

#include <QDir>
#include <utility>

namespace {

// The common close of the sequence, whether it ran through or was cut short.
void unlock(TForm1& form) {
    form.Prubeh->hide();
    form.EnableControls();
    setPosition(form.Prubeh, 0);
    form.SaveORU->setEnabled(true);
}

QList<QWidget*> lockedControls(const TForm1& form) {
    return {form.SaveORU, form.LoadORU, form.RunORU,    form.StopORU, form.Save,    form.Load,
            form.signal,  form.Buttons, form.PhoneBook, form.seting,  form.service, form.KeyBoardParams};
}

} // namespace

void TForm1::SaveORUClick() {
    // The backup kept just before and the choice of the full sequence belong to this programming only.
    const QString backup = std::exchange(programmingBackup, QString());
    const bool everyLocation = std::exchange(writeEveryLocation, false);
    // A read-back still arriving would land in the grid while it is being written.
    if (!dialogue.is(Dialogue::Phase::Idle))
        throw Failure(QStringLiteral("%1 is still under way: program the unit once it has finished.")
                          .arg(Dialogue::describe(dialogue.phase())));
    // The check comes before the lock, so that a plan the unit cannot take whole sends nothing.
    engine.planProgramming(readControls(*this), everyLocation);
    // The parameter strings are those written: the settings controls' encoding, or the string as it came
    // while the controls still show it unchanged.
    for (int entry = FixedEntries::FirstParameter; entry <= FixedEntries::Count; ++entry)
        *FixedEntries::parameter(state, entry) = engine.writing.entry(entry);

    DisableControls();
    if (engine.lteModule) {
        TonBeep->setEnabled(true);
        TonRing->setEnabled(false);
        TonVoice->setEnabled(true);
    }
    Prubeh->setMaximum(engine.programmingTotal());
    Prubeh->show();
    programmingBackup = backup;
    engine.startProgramming();
}

QString TForm1::stopProgramming(Dialogue::Outcome outcome) {
    unlock(*this);
    QString reached = engine.programmingStopped(outcome);
    const QString backup = std::exchange(programmingBackup, QString());
    if (!backup.isEmpty())
        reached +=
            QStringLiteral(" What the unit held before is kept in %1: to put it back, choose that file "
                           "with Restore backup… and program the unit.")
                .arg(QDir::toNativeSeparators(backup));
    return reached;
}

void TForm1::DisableControls() {
    for (QWidget* control : lockedControls(*this))
        control->setEnabled(false);
}

void TForm1::EnableControls() {
    for (QWidget* control : lockedControls(*this))
        control->setEnabled(true);
}

void TForm1::programmingStepped(int step) {
    setPosition(Prubeh, step);
}

void TForm1::programmed() {
    unlock(*this);
    ResetEntryView();
    programmingBackup.clear();
}
