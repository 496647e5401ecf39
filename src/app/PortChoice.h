#pragma once

#include "comm/SerialPort.h"

#include <memory>

class SimulatedUnit;
class UserDialogs;

// The window's line to the unit: the simulated unit or a serial device. While none is chosen, the
// first operation that needs the port asks the user: the list offers the simulated unit first, then
// the machine's serial devices, and takes a typed device path. A device that was lost is chosen anew.
// Once closed at the program's end, it sends nothing more.
class PortChoice : public SerialPort {
    Q_OBJECT
public:
    static const QString SimulatedUnitChoice;

    explicit PortChoice(UserDialogs& dialogs, QObject* parent = nullptr);
    ~PortChoice() override;

    void chooseSimulator();
    void chooseDevice(const QString& device);
    // The simulated unit, once chosen.
    SimulatedUnit* simulatedUnit() const { return m_unit.get(); }

    void send(const QByteArray& data) override;
    quint8 readChar() override;
    int outputFree() const override;
    void setDtr(bool on) override;
    bool dtr() const override { return m_dtr; }
    bool isChosen() const override;
    bool isOpen() const override { return m_port && m_port->isOpen(); }
    void close() override;
    QString name() const override;
    bool inputWaiting() const override { return m_port && m_port->inputWaiting(); }
    qint64 outputPending() const override { return m_port ? m_port->outputPending() : 0; }
    QString lostReason() const override { return m_port ? m_port->lostReason() : QString(); }

private:
    void use(std::unique_ptr<SerialPort> port);

    UserDialogs& m_dialogs;
    std::unique_ptr<SimulatedUnit> m_unit;
    std::unique_ptr<SerialPort> m_port;
    bool m_dtr = false;
    bool m_closed = false;
};
