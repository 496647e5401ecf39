#pragma once

#include <QByteArray>
#include <QMap>

// One used location of the SIM phonebook.
struct SimEntry {
    QByteArray number;
    QByteArray name;
    friend bool operator==(const SimEntry&, const SimEntry&) = default;
};

// The two kinds of module: the standard one reports a stop with "STOP" and "[AT#SLED=1]=", the LTE one
// with a "#APLAYEV:" line, and runs on by itself once DTR is off.
enum class SimKind { Standard, Lte };

// How the simulated unit is built. The defaults suit tests: answers arrive on the next turn of the event
// loop and the running script prints nothing by itself.
struct SimOptions {
    SimKind kind = SimKind::Standard;
    bool startStopped = false;
    int capacity = 250;
    int numberLength = 80;
    int textLength = 40;
    QMap<int, SimEntry> phonebook;
    int answerDelayMs = 0;
    // From "STOP" to "[AT#SLED=1]=".
    int followUpDelayMs = 0;
    // Period of the running script's status lines; 0 prints them only on SimulatedUnit::tick().
    int statusPeriodMs = 0;
    QByteArray operatorName = "SIM NET";
    QByteArray imei = "356938035643809";
    int signal = 18;
    // Board voltage in units of 10 mV.
    int battery = 412;

    // A configured unit with the delays of a real one, for people who try the tool without hardware.
    static SimOptions demo();
    // Delays of a real unit.
    static SimOptions realistic() {
        SimOptions options;
        options.answerDelayMs = 5;
        options.followUpDelayMs = 300;
        options.statusPeriodMs = 2000;
        return options;
    }
};
