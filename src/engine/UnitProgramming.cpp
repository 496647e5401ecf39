#include "engine/Unit.h"

#include "comm/SerialPort.h"
#include "core/Failure.h"
#include "engine/UnitView.h"

#include <utility>

using Phase = Dialogue::Phase;
using Outcome = Dialogue::Outcome;

void Unit::planProgramming(Configuration configuration, bool everyLocation) {
    const QStringList problems = planProblems(configuration, sim);
    if (!problems.isEmpty())
        throw Failure(
            QStringLiteral("The unit cannot be programmed as the window stands; nothing was sent:\n") +
            problems.join(QLatin1Char('\n')));
    writing = std::move(configuration);
    // What this connection read of the unit says where it differs; the read-back that follows checks
    // every location all the same.
    writingOnly.reset();
    if (!everyLocation && record.current() && record.capacity() == sim.capacity)
        writingOnly = planChanges(programmingPlan(writing), record.locations(), sim.capacity);
}

int Unit::programmingTotal() const {
    return writingOnly ? int(writingOnly->size()) : sim.capacity;
}

void Unit::startProgramming() {
    dialogue.start(Phase::Programming, programmingTotal());
    m_writeStep = 0;
    m_writeIndex = 1;
    try {
        // This probe only provokes the first "OK".
        line.send("AT\r\n");
    } catch (const Failure& failure) {
        abandon(failure.text());
    }
}

void Unit::abandon(const QString& reason) {
    m_view.endEarly(Outcome::PortLost, QStringLiteral("Programming stopped: %1").arg(reason));
}

void Unit::programmingStep() {
    if (const auto confirmed = std::exchange(m_writeInFlight, std::nullopt))
        record.written(confirmed->location, confirmed->content);
    ++m_writeStep;
    m_view.programmingStepped(m_writeStep);
    dialogue.step(writingOnly ? m_writeStep - 1 : m_writeIndex - 1);
    if (writingOnly ? m_writeStep > writingOnly->size() : m_writeIndex > sim.capacity) {
        m_view.programmed();
        dialogue.end(Outcome::Done);
        // Shows what the SIM now holds, and checks every location against what was written.
        if (port.isChosen()) {
            record.verifyNextRead(plannedLocations(programmingPlan(writing)));
            line.send("AT+CPBR=1," + QByteArray::number(sim.capacity) + "\r\n");
            startRead();
        }
        return;
    }
    try {
        line.pause(200);
        if (writingOnly) {
            const LocationChange& change = writingOnly->at(m_writeStep - 1);
            m_writeIndex = change.location;
            if (change.after.name.isEmpty())
                clearLocation();
            else
                writeEntry(change.after.name, change.after.number);
        } else if (const std::optional<PlannedEntry> entry = plannedEntryAt(writing, m_writeStep)) {
            writeEntry(entry->name, entry->number);
        } else {
            clearLocation();
        }
    } catch (const Failure& failure) {
        abandon(failure.text());
    }
}

void Unit::clearLocation() {
    const QByteArray location = QByteArray::number(m_writeIndex);
    m_writeInFlight = WriteInFlight{m_writeIndex, {}};
    m_view.note("delete SIM" + location);
    line.send("AT+CPBW=" + location + "\r\n");
    ++m_writeIndex;
}

void Unit::writeEntry(const QByteArray& name, const QByteArray& number) {
    // An empty entry takes no location; the "OK" to the probe moves the sequence on.
    if (name.isEmpty() || number.isEmpty()) {
        line.send("AT\r\n");
        m_view.note("---");
        return;
    }
    const QByteArray location = QByteArray::number(m_writeIndex);
    m_writeInFlight = WriteInFlight{m_writeIndex, {number, name}};
    m_view.note("SIM" + location);
    // The bare form cuts a name at its comma; the quoted form, with the number's type, carries it whole.
    if (needsQuotedWrite(name))
        line.send("AT+CPBW=" + location + ",\"" + number + "\"," + (number.startsWith('+') ? "145" : "129") +
                  ",\"" + name + "\"\r\n");
    else
        line.send("AT+CPBW=" + location + "," + number + ",," + name + "\r\n");
    ++m_writeIndex;
}

QString Unit::programmingStopped(Outcome outcome) {
    // A refused write left its location as it was; one without an answer may or may not have been made.
    if (const auto unanswered = std::exchange(m_writeInFlight, std::nullopt);
        unanswered && outcome != Outcome::Refused)
        record.unknownAt(unanswered->location);
    // The unit confirmed every write up to the last step; a write sent after it has no answer yet.
    const int confirmed = dialogue.done();
    const bool sentUnanswered = writingOnly ? m_writeStep > confirmed && m_writeStep <= writingOnly->size()
                                            : m_writeIndex - 1 > confirmed;
    const QString unanswered = outcome == Outcome::Refused
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
        reached =
            confirmed < 1
                ? QStringLiteral("No location was written.")
                : QStringLiteral("The last location written was %1 of %2.").arg(confirmed).arg(sim.capacity);
        if (sentUnanswered) reached += unanswered.arg(m_writeIndex - 1);
        reached += QStringLiteral(" The locations after it keep their old content.");
    }
    return reached;
}
