#pragma once

#include "sim/SimulatedPort.h"

#include <QByteArray>
#include <QList>
#include <QMetaObject>
#include <QString>
#include <utility>

// Runs the event loop until the unit has said everything and the port has announced it.
void settle(SimulatedPort& port);

// Plays the program's side of a dialogue with the simulated unit. A script has one step a line:
// "> command" is sent with CR LF, "< line" is what the module must say next. The empty lines of the
// module's CR LF framing are not listed; a prompt without line end (">>>") is listed like a line. Blanks
// around a script line do not count, so scripts can be indented.
// play() fails when the module says something before a command that the script does not list, when a
// listed line does not come, and when the module says more than the script lists.
class Transcript {
public:
    explicit Transcript(SimulatedPort& port);
    ~Transcript();
    Transcript(const Transcript&) = delete;
    Transcript& operator=(const Transcript&) = delete;

    // An empty text when the dialogue went as written, otherwise what went wrong.
    QString play(const QByteArray& script);
    // Lines the module said that no script has taken yet.
    QList<QByteArray> takeLines() { return std::exchange(m_lines, {}); }

private:
    void read(quint16 count);
    QString expect(const QByteArray& line);

    SimulatedPort& m_port;
    QMetaObject::Connection m_reading;
    QList<QByteArray> m_lines;
    QByteArray m_partial;
};
