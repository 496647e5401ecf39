#pragma once

#include "comm/LineWriter.h"
#include "comm/SerialPort.h"

#include <QMap>
#include <QSerialPort>
#include <QTimer>
#include <memory>

// The real serial line: 115200 8N1 with RTS/CTS. Opens on first use and holds the device for itself: a
// second program that opens it, by whatever name, is refused. A device that is lost (unplugged) closes the
// port and is reported once (lost); it is no longer chosen while its node is gone, and says so (back) when
// the node is there again. Bytes leave at once and go on leaving, at the line's pace, while the window thread
// sleeps in a pacing wait: a writer thread hands them to the driver as it drains, so a full system buffer is
// back-pressure and never taken for a lost device. Closing lets what is queued leave first.
class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(QObject* parent = nullptr);
    ~QtSerialPort() override;

    // The device to open on first use.
    void choose(const QString& device) { m_device = device; }
    const QString& device() const { return m_device; }
    bool isOpen() const override { return m_port.isOpen(); }

    void send(const QByteArray& data) override;
    quint8 readChar() override;
    int outputFree() const override;
    void setDtr(bool on) override;
    bool dtr() const override { return m_dtr; }
    bool isChosen() const override;
    void close() override;
    QString name() const override { return m_device; }
    bool inputWaiting() const override;
    qint64 outputPending() const override;
    QString lostReason() const override { return m_lost ? m_lostReason : QString(); }

    // The machine's serial devices by path, each as the user knows it: its path, then the maker, the
    // adapter's name and its serial number as the system names them, where it does. The system is asked
    // once per call, and asking means reading every terminal's entry under /sys.
    static QMap<QString, QString> devices();

private:
    void open();
    void takeReceived();
    void loseDevice(const QString& reason);

    QSerialPort m_port;
    QString m_device;
    bool m_dtr = false;
    // The device went away, for that reason; it is opened again once its node is back.
    bool m_lost = false;
    QString m_lostReason;
    // Looks for the lost device's node to come back.
    QTimer m_watch;
    std::unique_ptr<LineWriter> m_writer;
    // Received bytes, read up to m_readAt; the last m_unannounced of them not yet announced.
    QByteArray m_received;
    qsizetype m_readAt = 0;
    qsizetype m_unannounced = 0;
};
