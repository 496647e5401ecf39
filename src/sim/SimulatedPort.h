#pragma once

#include "comm/SerialPort.h"
#include "sim/SimulatedUnit.h"

#include <QTimer>

// The serial line to the in-process simulated unit. Every byte sent reaches the unit at once, so the output
// buffer is empty again whenever send() returns. What the unit says waits in the input buffer and is
// announced through the event queue. The port is open from the start; DTR goes straight to the unit.
class SimulatedPort : public SerialPort {
    Q_OBJECT
public:
    explicit SimulatedPort(SimulatedUnit& unit, QObject* parent = nullptr);

    void send(const QByteArray& data) override;
    quint8 readChar() override;
    int outputFree() const override { return OutputBufferSize; }
    void setDtr(bool on) override { m_unit.setDtr(on); }
    bool dtr() const override { return m_unit.dtr(); }
    bool isChosen() const override { return true; }
    void close() override;
    QString name() const override { return QStringLiteral("the simulator"); }

    SimulatedUnit& unit() { return m_unit; }
    bool isOpen() const override { return m_open; }
    // Nothing is on its way: the unit has said everything and every byte has been announced.
    bool quiet() const { return !m_unit.busy() && !m_announce.isActive(); }
    // The device disappears: the next send fails and closes the port. A later send opens it again.
    void vanish() { m_vanished = true; }

private:
    void take(const QByteArray& bytes);
    void announce();

    SimulatedUnit& m_unit;
    bool m_open = true;
    bool m_vanished = false;
    QByteArray m_input;
    qsizetype m_readAt = 0;
    QTimer m_announce;
};
