#include "app/ConfigurationView.h"
#include "app/TForm1.h"
#include "comm/SerialPort.h"
#include "config/FixedEntries.h"
#include "config/PhonebookEntry.h"
#include "config/PlanCheck.h"
#include "config/ProgrammingPlan.h"
#include "engine/ReadBackRecord.h"
#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/Pacer.h"
#include "widgets/Bar.h"

#include <QDir>
#include <optional>
#include <utility>

namespace {

// The common close of the sequence, whether it ran through or was cut short.
void unlock(TForm1& form) {
    form.Prubeh->hide();
    form.EnableControls();
    setPosition(form.Prubeh, 0);
    form.SaveORU->setEnabled(true);
}

// The unit is gone (the adapter unplugged, the port failed): waiting for its "OK" would keep the window
// locked for good. The sequence ends here and says how far it got.
[[noreturn]] void abandon(TForm1& form, const Failure& failure) {
    form.stopPhase(Dialogue::Outcome::PortLost,
                   QStringLiteral("Programming stopped: %1").arg(failure.text()));
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
    Configuration configuration = readControls(*this);
    const QStringList problems =
        planProblems(configuration, engine.sim);
    if (!problems.isEmpty())
        throw Failure(
            QStringLiteral("The unit cannot be programmed as the window stands; nothing was sent:\n") +
            problems.join(QLatin1Char('\n')));
    writing = std::move(configuration);
    // The parameter strings are those written: the settings controls' encoding, or the string as it came
    // while the controls still show it unchanged.
    for (int entry = FixedEntries::FirstParameter; entry <= FixedEntries::Count; ++entry)
        *FixedEntries::parameter(state, entry) = writing.entry(entry);
    // What this connection read of the unit says where it differs; the read-back that follows checks
    // every location all the same.
    writingOnly.reset();
    if (!everyLocation && readBack->current() && readBack->capacity() == engine.sim.capacity)
        writingOnly = planChanges(programmingPlan(writing), readBack->locations(), engine.sim.capacity);

    DisableControls();
    if (engine.lteModule) {
        TonBeep->setEnabled(true);
        TonRing->setEnabled(false);
        TonVoice->setEnabled(true);
    }
    const int total = writingOnly ? int(writingOnly->size()) : engine.sim.capacity;
    Prubeh->setMaximum(total);
    Prubeh->show();
    dialogue.start(Dialogue::Phase::Programming, total);
    programmingBackup = backup;
    state.writeStep = 0;
    state.writeIndex = 1;
    try {
        // This probe only provokes the first "OK".
        unit.send("AT\r\n");
    } catch (const Failure& failure) {
        abandon(*this, failure);
    }
}

QString TForm1::stopProgramming(Dialogue::Outcome outcome) {
    unlock(*this);
    // A refused write left its location as it was; one without an answer may or may not have been made.
    if (const auto unanswered = std::exchange(m_writeInFlight, std::nullopt);
        unanswered && outcome != Dialogue::Outcome::Refused)
        readBack->unknownAt(unanswered->location);
    // The unit confirmed every write up to the last step; a write sent after it has no answer yet.
    const int confirmed = dialogue.done();
    const bool sentUnanswered = writingOnly
                                    ? state.writeStep > confirmed && state.writeStep <= writingOnly->size()
                                    : state.writeIndex - 1 > confirmed;
    const QString unanswered = outcome == Dialogue::Outcome::Refused
                                   ? QStringLiteral(" Location %1 was not written.")
                                   : QStringLiteral(" Location %1 may or may not have been written.");
    QString reached;
    if (writingOnly) {
        // Only the locations that differed were being written: name them by what they now hold.
        const auto locations = [this](qsizetype from, qsizetype to) {
            QList<int> numbers;
            for (qsizetype i = from; i < to; ++i)
                numbers << writingOnly->at(i).location;
            return locationList(numbers);
        };
        const qsizetype total = writingOnly->size();
        const qsizetype answered = qMin<qsizetype>(confirmed, total);
        const qsizetype next = answered + (sentUnanswered ? 1 : 0);
        reached = answered == 0
                      ? QStringLiteral("No location was written.")
                      : QStringLiteral("Written with the new content: %1.").arg(locations(0, answered));
        if (sentUnanswered) reached += unanswered.arg(writingOnly->at(answered).location);
        if (next < total)
            reached += QStringLiteral(" Still holding the old content: %1.").arg(locations(next, total));
        reached += QStringLiteral(" Every other location already held what programming gives it.");
    } else {
        reached = confirmed < 1 ? QStringLiteral("No location was written.")
                                : QStringLiteral("The last location written was %1 of %2.")
                                      .arg(confirmed)
                                      .arg(engine.sim.capacity);
        if (sentUnanswered) reached += unanswered.arg(state.writeIndex - 1);
        reached += QStringLiteral(" The locations after it keep their old content.");
    }
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

void TForm1::programmingStep() {
    if (const auto confirmed = std::exchange(m_writeInFlight, std::nullopt))
        readBack->written(confirmed->location, confirmed->content);
    ++state.writeStep;
    setPosition(Prubeh, state.writeStep);
    dialogue.step(writingOnly ? state.writeStep - 1 : state.writeIndex - 1);
    if (writingOnly ? state.writeStep > writingOnly->size() : state.writeIndex > engine.sim.capacity) {
        unlock(*this);
        ResetEntryView();
        programmingBackup.clear();
        dialogue.end(Dialogue::Outcome::Done);
        // Shows what the SIM now holds, and checks every location against what was written.
        if (ApdComPort1.isChosen()) {
            readBack->verifyNextRead(plannedLocations(programmingPlan(writing)));
            unit.send("AT+CPBR=1," + QByteArray::number(engine.sim.capacity) + "\r\n");
            engine.startRead();
        }
        return;
    }
    try {
        unit.pause(200);
        if (writingOnly) {
            const LocationChange& change = writingOnly->at(state.writeStep - 1);
            state.writeIndex = change.location;
            if (change.after.name.isEmpty())
                clearLocation();
            else
                WriteEntry(change.after.name, change.after.number);
        } else if (const std::optional<PlannedEntry> entry = plannedEntryAt(writing, state.writeStep)) {
            WriteEntry(entry->name, entry->number);
        } else {
            clearLocation();
        }
    } catch (const Failure& failure) {
        abandon(*this, failure);
    }
}

void TForm1::clearLocation() {
    const QByteArray location = QByteArray::number(state.writeIndex);
    m_writeInFlight = WriteInFlight{state.writeIndex, {}};
    log("delete SIM" + location);
    unit.send("AT+CPBW=" + location + "\r\n");
    ++state.writeIndex;
}

void TForm1::WriteEntry(const QByteArray& name, const QByteArray& number) {
    // An empty entry takes no location; the "OK" to the probe moves the sequence on.
    if (name.isEmpty() || number.isEmpty()) {
        unit.send("AT\r\n");
        log("---");
        return;
    }
    const QByteArray location = QByteArray::number(state.writeIndex);
    m_writeInFlight = WriteInFlight{state.writeIndex, {number, name}};
    log("SIM" + location);
    // The bare form cuts a name at its comma; the quoted form, with the number's type, carries it whole.
    if (needsQuotedWrite(name))
        unit.send("AT+CPBW=" + location + ",\"" + number + "\"," + (number.startsWith('+') ? "145" : "129") +
                  ",\"" + name + "\"\r\n");
    else
        unit.send("AT+CPBW=" + location + "," + number + ",," + name + "\r\n");
    ++state.writeIndex;
}
