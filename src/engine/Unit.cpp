#include "engine/Unit.h"

#include "comm/SerialPort.h"
#include "config/PhonebookEntry.h"
#include "config/TextCuts.h"
#include "core/Bytes.h"
#include "core/Failure.h"
#include "engine/Answers.h"
#include "engine/UnitView.h"

using Phase = Dialogue::Phase;
using Outcome = Dialogue::Outcome;
using ReadStage = Dialogue::ReadStage;

namespace {

// The module's answer while its SIM is still starting.
const QByteArray SimBusy = "+CME ERROR: 14";

// Lines that begin an exchange of their own: the unit stopping, its module naming itself, the operator,
// the SIM's size and entries.
bool beginsAnExchange(const QByteArray& line) {
    return line == "STOP" || line.contains("#APLAYEV:") || line == "Telit" || line == "[AT#SLED=1]=" ||
           isQueryAnswer(line);
}

} // namespace

Unit::Unit(SerialPort& port, Pacer& pacer, UnitView& view, QObject* parent)
    : QObject(parent), port(port), line(port, pacer), dialogue(pacer), record(dialogue, port), m_view(view) {
    line.onReceived([this](const QByteArray& received) { handle(received); }, [this] { m_view.prompted(); });
    connect(&dialogue, &Dialogue::started, this, [this] { m_outputSeen = -1; });
}

void Unit::handle(const QByteArray& received) {
    m_view.said(received);
    const UnitLine::Taken taken = line.take(received);
    // A line the view cannot take in whole (a setting it cannot show) was still said by the unit.
    try {
        switch (taken.role) {
        case UnitLine::Role::Final:
            if (received != "OK") {
                refused(received);
                break;
            }
            // The LTE module has turned its echo off after stopping: its operator is asked next.
            if (dialogue.stopSeen && lteModule && taken.command == "ATE0") {
                dialogue.stopSeen = false;
                line.pause(200);
                m_view.note("----------------------2");
                askOperator("AT#SPN\r\n");
                m_view.note(">AT#SPN");
                break;
            }
            // The read's own "OK" ends the read-back.
            if (dialogue.is(Phase::ReadingBack) && dialogue.readStage() == ReadStage::Entries &&
                taken.command.startsWith("AT+CPBR=1,"))
                readEnded();
            if (dialogue.rereadPending && taken.command.startsWith("AT+CPBW=")) {
                dialogue.rereadPending = false;
                // A read-back under way already shows the change, or another follows it.
                if (dialogue.askReadBack()) readAgain();
            }
            m_view.confirmed(taken.command);
            if (dialogue.is(Phase::Programming) &&
                (taken.command == "AT" || taken.command.startsWith("AT+CPBW=")))
                programmingStep();
            break;
        case UnitLine::Role::Answer:
            dispatch(received);
            break;
        case UnitLine::Role::Unsolicited:
            // A final result that closes no command, or a late answer to a query: the monitor shows it, and
            // nothing acts on it.
            if (!isFinalResult(received) && !isQueryAnswer(received)) dispatch(received);
            break;
        }
    } catch (...) {
        m_view.handled(received);
        throw;
    }
    m_view.handled(received);
}

void Unit::dispatch(const QByteArray& received) {
    // While the unit is being written or takes an upload, such a line is a late or stray answer: the
    // monitor shows it, and nothing acts on it, so the phase under way goes on.
    if ((dialogue.is(Phase::Programming) || dialogue.is(Phase::Uploading)) && beginsAnExchange(received))
        return;
    if (isSizeAnswer(received))
        sizeAnswered(received);
    else if (isEntryAnswer(received))
        listed(PhonebookEntry::parse(received));
    else if (isOperatorAnswer(received))
        operatorAnswered(received);
    else if (received == "STOP" || received.contains("#APLAYEV:"))
        stopReported(received);
    else if (received == "Telit") {
        m_view.moduleNamed();
        askOperator("AT#SPN\r\n");
    } else if (received == "[AT#SLED=1]=") {
        // The standard module's stop is complete: echo off and the operator, in one command.
        line.pause(1000);
        askOperator("ATE0;#SPN\r\n");
        dialogue.stopSeen = false;
        m_view.stopped();
    } else
        m_view.unitSaid(received);
}

void Unit::silenceLimitReached(Phase phase) {
    // Silence counts only while the program runs and once every byte for the unit has left: a program
    // that was stopped (Ctrl+Z) finds the answers of meanwhile waiting, a paced command has not gone yet, and
    // a large send is still leaving, as long as the unit takes its bytes at all.
    if (port.inputWaiting() || line.holding()) {
        dialogue.answered();
        return;
    }
    const qint64 pending = port.outputPending();
    if (pending > 0 && (m_outputSeen < 0 || pending < m_outputSeen)) {
        m_outputSeen = pending;
        dialogue.expect(dialogue.limitMs() +
                        static_cast<int>(pending * 1000 / SerialPort::LineBytesPerSecond));
        return;
    }
    m_outputSeen = -1;
    const QString name = portName();
    const int seconds = dialogue.limitMs() / 1000;
    QString cause;
    switch (phase) {
    case Phase::Idle:
        return;
    case Phase::Stopping:
        cause = QStringLiteral("The unit on %1 did not report that it stopped within %2 s. If it is stopped "
                               "already, press Load.")
                    .arg(name)
                    .arg(seconds);
        break;
    case Phase::Uploading:
        if (pending > 0) {
            cause = QStringLiteral("The unit on %1 has taken no more of the upload's data for %2 s: %3 bytes "
                                   "are still to go.")
                        .arg(name)
                        .arg(seconds)
                        .arg(pending);
            break;
        }
        if (dialogue.awaitingPrompt) {
            cause = QStringLiteral("The unit on %1 did not ask for the file's data within %2 s.")
                        .arg(name)
                        .arg(seconds);
            break;
        }
        [[fallthrough]];
    case Phase::ReadingBack:
    case Phase::Programming:
        cause = QStringLiteral("The unit on %1 has not answered for %2 s.").arg(name).arg(seconds);
    }
    m_view.endEarly(Outcome::TimedOut, cause);
}

QString Unit::portName() const {
    const QString name = port.name();
    return name.isEmpty() ? QStringLiteral("the serial port") : name;
}

void Unit::expectAnswerAfter(qsizetype bytes) {
    m_outputSeen = -1;
    dialogue.expect(dialogue.answerMs + static_cast<int>(bytes * 1000 / SerialPort::LineBytesPerSecond));
}

void Unit::writeSingle(const QByteArray& command) {
    line.send(command);
    record.unitMayHaveChanged();
    // Its answer starts the read-back; a phase under way carries on and takes the answer in its stride.
    if (dialogue.is(Phase::Idle)) dialogue.start(Phase::ReadingBack);
    dialogue.rereadPending = true;
}

void Unit::greet() {
    // The line opens with the stop line off: only the unit's answer says what it is doing.
    line.setDtr(false);
    line.send("ATE0\r\n");
    line.pause(200);
    line.send("AT+CGMI\r\n");
}

void Unit::stop() {
    line.setDtr(true);
    dialogue.start(Phase::Stopping, 0, dialogue.stopAnswerMs);
}

void Unit::run() {
    // Whatever the unit was doing for the program, it now runs its script.
    dialogue.end(Outcome::Cancelled);
    line.dropQueued();
    record.unitMayHaveChanged();
    line.setDtr(false);
    // The script starts again: nothing sent before is answered any more.
    line.forgetOpen();
    line.pause(1000);
    // The LTE module runs its script on once DTR is off; the standard one is restarted.
    if (!lteModule) line.send("AT#REBOOT\r\n");
}

void Unit::stopReported(const QByteArray& received) {
    if (received.contains("#APLAYEV:")) lteModule = true;
    if (!line.dtr()) return;
    // What was sent to the running script gets no answer.
    line.forgetOpen();
    // The unit stopped: a stop that came after its phase gave up is taken up again.
    if (dialogue.is(Phase::Stopping))
        dialogue.answered();
    else if (dialogue.is(Phase::Idle))
        dialogue.start(Phase::Stopping);
    m_view.stopped();
    m_view.note("----------------------1");
    line.send("ATE0\r\n");
    m_view.note(">ATE0");
    dialogue.stopSeen = true;
    m_view.note("ATE0=-1");
    m_view.note(lteModule ? "LTE=-1" : "LTE=0");
    line.pause(1000);
}

void Unit::refused(const QByteArray& answer) {
    if (dialogue.is(Phase::Idle)) return;
    if (answer == SimBusy && retryBusySim()) return;
    m_view.endEarly(Outcome::Refused, QStringLiteral("The unit answered \"%1\".").arg(fromBytes(answer)));
}

void Unit::askOperator(const QByteArray& command) {
    line.send(command);
    if (line.dtr()) {
        dialogue.reachRead(ReadStage::Operator);
    } else if (dialogue.is(Phase::Stopping)) {
        // A unit found stopped while the stop line is off: it is not held stopped, and nothing is read.
        dialogue.end(Outcome::Done);
    }
}

void Unit::operatorAnswered(const QByteArray& answer) {
    m_view.showOperator(cutThrough(answer, ":"));
    line.pause(200);
    if (port.isChosen() && line.dtr()) {
        // The size query goes out once for each read-back, however many operator queries it had.
        const bool sizeAsked = dialogue.is(Phase::ReadingBack) && dialogue.readStage() >= ReadStage::Size;
        if (!sizeAsked) {
            line.send("AT+CPBR=?\r\n");
            dialogue.reachRead(ReadStage::Size);
        }
    } else if (dialogue.is(Phase::ReadingBack)) {
        dialogue.end(Outcome::Done,
                     QStringLiteral("nothing read: the unit is not held stopped (press Stop)"));
    }
}

void Unit::sizeAnswered(const QByteArray& answer) {
    const int n = toInt(textBefore(cutThrough(answer, "-"), ")").trimmed());
    // No SIM has fewer than one location; such a size would reach the commands that name locations.
    if (n < 1)
        throw Failure(QStringLiteral("The unit gave its SIM's size as %1 locations; the program keeps %2.")
                          .arg(n)
                          .arg(sim.capacity));
    const SimLimits limits = simLimits(answer);
    sim = {n, limits.numberLength, limits.textLength};
    record.sized(n);
    m_view.showSimSize(n);
    if (n > 10) {
        line.pause(100);
        if (port.isChosen()) {
            line.send("AT+CPBR=1," + QByteArray::number(n) + "\r\n");
            startRead();
        }
    } else if (dialogue.is(Phase::ReadingBack)) {
        dialogue.end(Outcome::Done, QStringLiteral("nothing read: the SIM has no more than 10 locations"));
    }
}

void Unit::startRead() {
    m_view.readStarting();
    // Where the "DETECT" entry is, this read-back tells anew.
    dialogue.detectFound = false;
    dialogue.reachRead(ReadStage::Entries);
    dialogue.setTotal(sim.capacity);
}

void Unit::readAgain() {
    m_view.readingAgain();
    line.pause(200);
    line.send("AT#SPN\r\n");
    dialogue.reachRead(ReadStage::Operator);
}

void Unit::listed(const PhonebookEntry& entry) {
    // The index goes into the commands that write over or clear the entry's location: one that is no
    // location of this SIM could name another location, or several.
    const int location = locationOf(entry.index, sim.capacity);
    // A listing with an entry that has no place, or a location twice, is no true picture of the unit: the
    // read-back stops there and the entry is left out.
    if (location == 0)
        m_view.endEarly(Outcome::Refused,
                        notALocation(entry.index, sim.capacity) +
                            QStringLiteral(" Its entry \"%1\" is left out.").arg(fromBytes(entry.name)));
    if (dialogue.is(Phase::ReadingBack)) {
        if (record.listed(location))
            m_view.endEarly(
                Outcome::Refused,
                QStringLiteral("The unit listed its location %1 twice, the second time as \"%2\".")
                    .arg(location)
                    .arg(fromBytes(entry.name)));
        dialogue.step(location);
        // Kept before it is shown: a setting the view cannot show was still listed.
        record.list(location, {entry.number, entry.name});
    }
    m_view.showListed(entry);
}

void Unit::readEnded() {
    dialogue.end(Outcome::Done);
    m_view.readBackDone();
}

bool Unit::retryBusySim() {
    if (!dialogue.is(Phase::ReadingBack) || dialogue.busyRetries >= Dialogue::BusyRetries) return false;
    const ReadStage stage = dialogue.readStage();
    if (stage != ReadStage::Size && stage != ReadStage::Entries) return false;
    ++dialogue.busyRetries;
    m_view.note("(the SIM is busy: asking again)");
    line.pause(Dialogue::BusyRetryMs);
    if (stage == ReadStage::Size) {
        line.send("AT+CPBR=?\r\n");
        dialogue.answered();
    } else {
        line.send("AT+CPBR=1," + QByteArray::number(sim.capacity) + "\r\n");
        startRead();
    }
    return true;
}
