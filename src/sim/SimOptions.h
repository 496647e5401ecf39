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
// loop, the line has no rate, the SIM is ready and the running script prints nothing by itself.
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
    // The line's rate each way; 0 passes the bytes at once. What the unit has not taken yet stays in the
    // PC's output buffer.
    int outputBytesPerSecond = 0;
    int inputBytesPerSecond = 0;
    // The module's time to fetch each record it lists for "AT+CPBR=first,last".
    int recordMs = 0;
    // The SIM's time to look at each location of such a range, used or not: a slow SIM keeps quiet for
    // long over empty locations.
    int locationMs = 0;
    // Phonebook commands refused with "SIM busy" after the module starts, while it still reads the SIM.
    int busyPhonebookCommands = 0;
    QByteArray operatorName = "SIM NET";
    QByteArray imei = "356938035643809";
    // The SIM's own number as "AT+CNUM" reports it; many SIMs hold none.
    QByteArray ownNumber;
    QByteArray model = "ZV-2G";
    QByteArray revision = "2.04.007";
    int signal = 18;
    // Board voltage in units of 10 mV.
    int battery = 412;

    // A configured unit with the delays of a real one, for people who try the tool without hardware.
    static SimOptions demo();
    // Delays and rates of a real unit: 115200 baud both ways, about 15 ms for each record it lists, and
    // a SIM still being read when the module has just started.
    static SimOptions realistic() {
        SimOptions options;
        options.answerDelayMs = 5;
        options.followUpDelayMs = 300;
        options.statusPeriodMs = 2000;
        options.outputBytesPerSecond = 11520;
        options.inputBytesPerSecond = 11520;
        options.recordMs = 15;
        options.busyPhonebookCommands = 1;
        return options;
    }
    // Without the line's rates, the time per record and the busy SIM; the delays stay.
    SimOptions instant() const {
        SimOptions options = *this;
        options.outputBytesPerSecond = 0;
        options.inputBytesPerSecond = 0;
        options.recordMs = 0;
        options.locationMs = 0;
        options.busyPhonebookCommands = 0;
        return options;
    }
};
