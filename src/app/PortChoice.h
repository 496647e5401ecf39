#pragma once

#include "comm/SerialPort.h"

#include <memory>

class SimulatedUnit;
class UserDialogs;

// The window's line to the unit: the simulated unit or a serial device. While none is chosen, the
// first operation that needs the port asks the user: the list offers the simulated unit first, then
// the machine's serial devices, and takes a typed device path. The first send opens the line; once it
// has been closed (lost, or disconnected by the user) only connecting lets a send open it again, so
// that the unit at its end is greeted first. Once closed at the program's end, it sends nothing more.
class PortChoice : public SerialPort {
    Q_OBJECT
public:
    static const QString SimulatedUnitChoice;

    explicit PortChoice(UserDialogs& dialogs, QObject* parent = nullptr);
    ~PortChoice() override;

    void chooseSimulator();
    void chooseDevice(const QString& device);
    // An entry of choices(), or a typed device path.
    void choose(const QString& choice);
    // The simulated unit, then the machine's serial devices.
    static QStringList choices();
    // The entry of choices() in use; empty while none is chosen.
    QString choice() const;
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
    void connectLine() override { m_mayOpen = true; }
    void disconnectLine() override;
    void switchTo(const QString& choice) override { choose(choice); }

private:
    void use(std::unique_ptr<SerialPort> port);

    UserDialogs& m_dialogs;
    std::unique_ptr<SimulatedUnit> m_unit;
    std::unique_ptr<SerialPort> m_port;
    bool m_dtr = false;
    bool m_closed = false;
    // A send may open the line.
    bool m_mayOpen = true;
};
