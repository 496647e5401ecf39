#pragma once

#include "comm/SerialPort.h"

// Passes everything through to the port beneath and tells whether a send has failed.
class WatchedPort : public SerialPort {
    Q_OBJECT
public:
    explicit WatchedPort(SerialPort& port, QObject* parent = nullptr) : SerialPort(parent), m_port(port) {
        connect(&m_port, &SerialPort::triggerAvail, this, &SerialPort::triggerAvail);
        connect(&m_port, &SerialPort::lost, this, &SerialPort::lost);
        connect(&m_port, &SerialPort::connectionChanged, this, &SerialPort::connectionChanged);
        connect(&m_port, &SerialPort::back, this, &SerialPort::back);
    }

    void send(const QByteArray& data) override {
        try {
            m_port.send(data);
        } catch (...) {
            m_failed = true;
            throw;
        }
    }
    // A send has failed: no port, or the port could not be opened or was lost.
    bool failed() const { return m_failed || !m_port.isChosen(); }
    quint8 readChar() override { return m_port.readChar(); }
    int outputFree() const override { return m_port.outputFree(); }
    void setDtr(bool on) override { m_port.setDtr(on); }
    bool dtr() const override { return m_port.dtr(); }
    bool isChosen() const override { return m_port.isChosen(); }
    bool isOpen() const override { return m_port.isOpen(); }
    void close() override { m_port.close(); }
    QString name() const override { return m_port.name(); }
    bool inputWaiting() const override { return m_port.inputWaiting(); }
    qint64 outputPending() const override { return m_port.outputPending(); }
    QString lostReason() const override { return m_port.lostReason(); }
    void connectLine() override { m_port.connectLine(); }
    void disconnectLine() override { m_port.disconnectLine(); }
    void switchTo(const QString& choice) override { m_port.switchTo(choice); }

private:
    SerialPort& m_port;
    bool m_failed = false;
};
