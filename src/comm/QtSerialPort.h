#pragma once

#include "comm/SerialPort.h"

#include <QSerialPort>

class UserDialogs;

// The real serial line: 115200 8N1 with RTS/CTS. Opens on first use. A device that is lost (unplugged)
// closes the port, is reported once and is no longer chosen. Bytes leave at once: send() writes and flushes,
// so that the output buffer drains even while the window thread sleeps in a pacing wait.
class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(UserDialogs& dialogs, QObject* parent = nullptr);

    // The device to open on first use.
    void choose(const QString& device) { m_device = device; }
    const QString& device() const { return m_device; }
    bool isOpen() const { return m_port.isOpen(); }

    void send(const QByteArray& data) override;
    quint8 readChar() override;
    int outputFree() const override;
    void setDtr(bool on) override;
    bool dtr() const override { return m_dtr; }
    bool isChosen() const override { return !m_device.isEmpty(); }
    void close() override;
    QString name() const override { return m_device; }

    // The machine's serial devices.
    static QStringList deviceChoices();

private:
    void open();
    void takeReceived();
    void loseDevice(const QString& reason);

    UserDialogs& m_dialogs;
    mutable QSerialPort m_port;
    QString m_device;
    bool m_dtr = false;
    QByteArray m_received;
    bool m_notifyQueued = false;
};
