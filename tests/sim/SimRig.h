#pragma once

#include "Transcript.h"

#include "sim/SimulatedPort.h"
#include "sim/SimulatedUnit.h"

#include <QByteArray>
#include <QList>
#include <QObject>

// A unit that starts in stop mode, answering commands.
inline SimOptions stopped(SimOptions options = {}) {
    options.startStopped = true;
    return options;
}

// The unit, the program's port to it, and the program's side of the dialogue.
struct Rig {
    explicit Rig(const SimOptions& options) : unit(options), port(unit), transcript(port) {}
    QString play(const QByteArray& script) { return transcript.play(script); }

    SimulatedUnit unit;
    SimulatedPort port;
    Transcript transcript;
};

// Reads every announced byte, as the program's receiver does.
class RawReader {
public:
    explicit RawReader(SimulatedPort& port)
        : m_connection(QObject::connect(&port, &SerialPort::triggerAvail, [this, &port](quint16 count) {
              counts.append(count);
              for (int i = 0; i < count; ++i)
                  bytes.append(static_cast<char>(port.readChar()));
          })) {}
    ~RawReader() { QObject::disconnect(m_connection); }

    QByteArray bytes;
    QList<quint16> counts;

private:
    QMetaObject::Connection m_connection;
};
