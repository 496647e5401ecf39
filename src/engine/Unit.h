#pragma once

#include "config/Configuration.h"
#include "config/PlanCheck.h"
#include "config/ProgrammingPlan.h"
#include "engine/Dialogue.h"
#include "engine/ReadBackRecord.h"
#include "engine/UnitLine.h"

#include <QObject>
#include <optional>

class Pacer;
class SerialPort;
class UnitView;
struct PhonebookEntry;

// The engine for one unit: its line (what goes out, in order and paced, and whose each answer is), the
// dialogue's phases, what the unit holds, and the operations: greet, stop, run, read back, program, single
// writes. Each received line is handled by the command it answers or as the unit's own; every wait is a
// timer. It shows nothing itself: what the user should see goes to its view.
class Unit : public QObject {
    Q_OBJECT
public:
    Unit(SerialPort& port, Pacer& pacer, UnitView& view, QObject* parent = nullptr);

    SerialPort& port;
    UnitLine line;
    Dialogue dialogue;
    ReadBackRecord record;
    // What the SIM keeps, as its size answer said last: its locations, and the longest number and name.
    SimLimits sim;
    // The module is the LTE one: it reported stopping with "#APLAYEV:"; it runs its script on without a
    // restart.
    bool lteModule = false;

    // Greets the unit as start-up does: echo off, then the manufacturer query, whose answer says that the
    // unit is stopped.
    void greet();
    // Asks a running unit to stop its script, and holds it stopped: a read-back follows its report.
    void stop();
    // Lets the unit run its script again.
    void run();

    // Programming (engine/UnitProgramming.cpp). What the programming under way writes.
    Configuration writing;
    // When the unit's content is known from this connection, programming writes only the locations that
    // differ from it, these in order; none while the full sequence writes every location.
    std::optional<QList<LocationChange>> writingOnly;
    // Checks that the SIM takes the configuration whole and plans what programming writes: only what
    // differs from what the unit is known to hold, unless every location is asked for. Throws, having
    // sent nothing, when the unit cannot take it.
    void planProgramming(Configuration configuration, bool everyLocation);
    // The steps of the planned programming: the locations it writes.
    int programmingTotal() const;
    // Starts the planned programming: a probe whose "OK" asks for the first write.
    void startProgramming();
    // Programming ended early: what the unit now holds, location by location, in a few sentences.
    QString programmingStopped(Dialogue::Outcome outcome);

    // How the line is named to the user.
    QString portName() const;
    // The unit has been silent for the phase's limit. Silence counts only while the program runs and once
    // every byte for the unit has left; otherwise the phase ends early and says how long the unit kept
    // quiet.
    void silenceLimitReached(Dialogue::Phase phase);
    // The unit answers once these bytes, sent last, have crossed the line.
    void expectAnswerAfter(qsizetype bytes);

    // Sends an operator query; with the stop line on, a read-back follows it.
    void askOperator(const QByteArray& command);
    // Reads the unit back again from its operator query, after a short pause.
    void readAgain();
    // A single write (a module entry, a code, a memory, a deletion): its "OK" starts the read-back that
    // shows what the unit now holds, and until one completes, that is not known.
    void writeSingle(const QByteArray& command);
    // An entry the unit listed (from a read-back's listing): kept while a read-back runs, and shown. An entry
    // that has no place in this SIM, or a location listed twice, ends the read-back there.
    void listed(const PhonebookEntry& entry);

private:
    // Handles one received line: the answer to the command it belongs to, or the unit's own.
    void handle(const QByteArray& received);
    // The unit answered an error: a busy SIM is asked again, anything else ends the phase under way.
    void refused(const QByteArray& answer);

    // The operator's answer: with the unit held stopped, the SIM's size is asked next, once a read-back.
    void operatorAnswered(const QByteArray& answer);
    // The SIM's size ("+CPBR: (1-n),…"): the read of every location follows it.
    void sizeAnswered(const QByteArray& answer);
    // The read command is out: every read-back starts from an empty view.
    void startRead();
    // The read's own final result: the read-back ran to its end.
    void readEnded();
    // A SIM still starting refuses the read-back for a while: it is asked again after a pause. False when
    // the read-back is not at a stage that can be asked again, or has been asked often enough.
    bool retryBusySim();
    // What a line means; the phase under way may make it noise.
    void dispatch(const QByteArray& received);
    // The unit stopped its script ("STOP", or the LTE module's "#APLAYEV:").
    void stopReported(const QByteArray& received);
    // The unit confirmed a step of programming: the next location is written, or the read-back that
    // checks them all follows the last.
    void programmingStep();
    void writeEntry(const QByteArray& name, const QByteArray& number);
    // Clears the location the sequence has come to.
    void clearLocation();
    // The unit is gone (the adapter unplugged, the port failed): waiting for its "OK" would hold the
    // phase for good. Programming ends here and says how far it got.
    void abandon(const QString& reason);

    UnitView& m_view;
    // The bytes still leaving for the unit when its silence was last looked at; -1 while none were.
    qint64 m_outputSeen = -1;
    // Programming's steps confirmed, and the location it writes next.
    int m_writeStep = 0;
    int m_writeIndex = 1;
    // The location programming has written last and what it wrote there, until the unit answers.
    struct WriteInFlight {
        int location;
        SimLocation content;
    };
    std::optional<WriteInFlight> m_writeInFlight;
};
