#pragma once

#include "sim/LineClock.h"
#include "sim/SimulatedUnit.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

class QSocketNotifier;

// Puts a simulated unit on a pseudo-terminal, so that the real serial path and ordinary serial tools can
// talk to it through the device devicePath(). DTR does not travel over a pseudo-terminal. With an input
// rate the unit reads no faster than that, and the rest waits in the terminal, so that a writer meets the
// back-pressure of a real line; the unit says its answers at its own output rate.
class PtyFront : public QObject {
    Q_OBJECT
public:
    // Throws Failure when no pseudo-terminal can be had.
    explicit PtyFront(SimulatedUnit& unit, QObject* parent = nullptr);
    ~PtyFront() override;

    const QByteArray& devicePath() const { return m_path; }
    // The module hangs: it reads nothing more from the line, and what is sent to it stays in the terminal.
    void hang();

private:
    void readFromPeer();
    // Stops reading until the line has carried what waits, or a good part of it.
    void pauseReading();
    void writeToPeer(const QByteArray& bytes);
    void flush();

    SimulatedUnit& m_unit;
    int m_master = -1;
    // Held open so that the terminal pair lives on while no peer has the device open.
    int m_slave = -1;
    QByteArray m_path;
    QByteArray m_unsent;
    QSocketNotifier* m_readable = nullptr;
    QSocketNotifier* m_writable = nullptr;
    LineClock m_line;
    // Nothing waited at the last read: the line starts again with the next bytes.
    bool m_lineIdle = true;
    QTimer m_resume;
    bool m_hung = false;
};
