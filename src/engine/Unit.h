#pragma once

#include "config/PlanCheck.h"
#include "engine/Dialogue.h"
#include "engine/ReadBackRecord.h"
#include "engine/UnitLine.h"

#include <QObject>

class Pacer;
class SerialPort;
class UnitView;
struct PhonebookEntry;

// The engine for one unit: its line (what goes out, in order and paced, and whose each answer is), the
// dialogue's phases, what the unit holds, and the read-back's steps from the operator query to the read's
// own final result. It shows nothing itself: what the user sees goes to its view.
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

    // Handles one received line: the answer to the command it belongs to, or the unit's own.
    void handle(const QByteArray& received);
    // The unit answered an error: a busy SIM is asked again, anything else ends the phase under way.
    void refused(const QByteArray& answer);

    // Sends an operator query; with the stop line on, a read-back follows it.
    void askOperator(const QByteArray& command);
    // The operator's answer: with the unit held stopped, the SIM's size is asked next, once a read-back.
    void operatorAnswered(const QByteArray& answer);
    // The SIM's size ("+CPBR: (1-n),…"): the read of every location follows it.
    void sizeAnswered(const QByteArray& answer);
    // The read command is out: every read-back starts from an empty view.
    void startRead();
    // Reads the unit back again from its operator query, after a short pause.
    void readAgain();
    // An entry the unit listed: kept while a read-back runs, and shown. An entry that has no place in this
    // SIM, or a location listed twice, ends the read-back there.
    void listed(const PhonebookEntry& entry);
    // The read's own final result: the read-back ran to its end.
    void readEnded();
    // A SIM still starting refuses the read-back for a while: it is asked again after a pause. False when
    // the read-back is not at a stage that can be asked again, or has been asked often enough.
    bool retryBusySim();

private:
    // What a line means; the phase under way may make it noise.
    void dispatch(const QByteArray& received);
    // The unit stopped its script ("STOP", or the LTE module's "#APLAYEV:").
    void stopReported(const QByteArray& received);

    UnitView& m_view;
};
