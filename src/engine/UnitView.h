#pragma once

#include "engine/Dialogue.h"

#include <QByteArray>
#include <QString>

struct PhonebookEntry;

// What the engine asks of whoever shows the unit to the user: the window, or a batch run's console.
class UnitView {
public:
    virtual ~UnitView() = default;
    // Every received line, before it is handled.
    virtual void said(const QByteArray& line) = 0;
    // A received line has been handled, also when its handling failed.
    virtual void handled(const QByteArray& line) = 0;
    // A line of the unit's own, or an answer that no step of the engine takes: the script's status, the
    // signal, the board voltage.
    virtual void unitSaid(const QByteArray& line) = 0;
    // The unit's "OK" to that command, once the engine has taken it.
    virtual void confirmed(const QByteArray& command) = 0;
    // The unit's data prompt: it waits for a file's bytes.
    virtual void prompted() = 0;
    // The unit reported that it stopped its script.
    virtual void stopped() = 0;
    // The module named itself ("Telit"): the unit is stopped; with the stop line on, a read-back follows.
    virtual void moduleNamed() = 0;
    // Programming has reached its step (1, 2, …).
    virtual void programmingStepped(int step) = 0;
    // Programming has written its last location; the read-back that checks them follows.
    virtual void programmed() = 0;
    // The unit named its network operator: its answer after the first colon, as it stands.
    virtual void showOperator(const QByteArray& name) = 0;
    // The unit gave its SIM's size.
    virtual void showSimSize(int capacity) = 0;
    // The unit is read back again, from its operator query.
    virtual void readingAgain() = 0;
    // A read-back's read goes out: it lists the unit's whole phone book anew.
    virtual void readStarting() = 0;
    // The read-back listed this entry at that location of the SIM.
    virtual void showListed(const PhonebookEntry& entry) = 0;
    // A read-back ran to its end.
    virtual void readBackDone() = 0;
    // Ends the phase under way early: says where it stopped and what the unit now holds. Never returns.
    [[noreturn]] virtual void endEarly(Dialogue::Outcome outcome, const QString& cause) = 0;
    // A note in the log of the dialogue.
    virtual void note(const QByteArray& text) = 0;
};
