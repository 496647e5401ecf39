#pragma once

#include "comm/SerialPort.h"
#include "sim/LineClock.h"
#include "sim/SimulatedUnit.h"

#include <QTimer>

// The serial line to the in-process simulated unit. Without an input rate every byte sent reaches the unit
// at once, so the output buffer is empty again whenever send() returns; with one, the unit takes the bytes
// at that rate and the rest waits in the output buffer (closing hands it over). What the unit says waits
// in the input buffer and is announced through the event queue. The port is open from the start; DTR goes
// straight to the unit.
class SimulatedPort : public SerialPort {
    Q_OBJECT
public:
    explicit SimulatedPort(SimulatedUnit& unit, QObject* parent = nullptr);

    void send(const QByteArray& data) override;
    quint8 readChar() override;
    int outputFree() const override;
    void setDtr(bool on) override { m_unit.setDtr(on); }
    bool dtr() const override { return m_unit.dtr(); }
    bool isChosen() const override { return true; }
    void close() override;
    QString name() const override { return QStringLiteral("the simulator"); }
    bool inputWaiting() const override { return m_readAt < m_input.size(); }
    qint64 outputPending() const override {
        drain();
        return m_untaken.size();
    }

    SimulatedUnit& unit() { return m_unit; }
    bool isOpen() const override { return m_open; }
    // Nothing is on its way: the unit has taken every byte, said everything, and every byte has been
    // announced.
    bool quiet() const { return m_untaken.isEmpty() && !m_unit.busy() && !m_announce.isActive(); }
    // The device disappears: the next send fails and closes the port. A later send opens it again.
    void vanish() { m_vanished = true; }

private:
    void take(const QByteArray& bytes);
    void announce();
    // Hands the unit what the line has carried by now. The line runs whether or not the event loop does
    // (the window may block in a plain sleep while the buffer drains), so every look at the buffer
    // catches up with the clock first.
    void drain() const;

    SimulatedUnit& m_unit;
    bool m_open = true;
    bool m_vanished = false;
    QByteArray m_input;
    qsizetype m_readAt = 0;
    QTimer m_announce;
    // Sent bytes the unit has not taken yet.
    mutable QByteArray m_untaken;
    mutable LineClock m_line;
    QTimer m_drain;
};
