#include "comm/QtSerialPort.h"

#include "core/Failure.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <sys/file.h>
#include <sys/ioctl.h>

QtSerialPort::QtSerialPort(QObject* parent) : SerialPort(parent) {
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialPort::takeReceived);
    connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        // A vanished device raises resource or read errors (read errors possibly in a tight loop):
        // close at the first one and report it once.
        if (m_port.isOpen() && (error == QSerialPort::ResourceError || error == QSerialPort::ReadError))
            loseDevice(m_port.errorString());
    });
    m_watch.setInterval(500);
    connect(&m_watch, &QTimer::timeout, this, [this] {
        if (!m_lost || !QFileInfo::exists(m_device)) return;
        m_watch.stop();
        emit back();
    });
}

QtSerialPort::~QtSerialPort() {
    close();
}

QMap<QString, QString> QtSerialPort::devices() {
    QMap<QString, QString> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const QString device = info.systemLocation();
        QStringList names;
        for (const QString& name : {info.manufacturer(), info.description()})
            if (!name.isEmpty() && !names.contains(name)) names << name;
        if (!info.serialNumber().isEmpty()) names << QStringLiteral("(%1)").arg(info.serialNumber());
        devices.insert(device, names.isEmpty()
                                   ? device
                                   : QStringLiteral("%1 - %2").arg(device, names.join(QLatin1Char(' '))));
    }
    return devices;
}

void QtSerialPort::open() {
    if (m_device.isEmpty()) throw Failure(QStringLiteral("No serial port was chosen."));
    m_port.setPortName(m_device);
    m_port.setBaudRate(QSerialPort::Baud115200);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::HardwareControl);
    m_port.setReadBufferSize(0);
    if (!m_port.open(QIODevice::ReadWrite)) {
        const QString reason = m_port.errorString();
        m_device.clear();
        throw Failure(
            QStringLiteral("The serial port %1 cannot be opened: %2").arg(m_port.portName(), reason));
    }
    // The lock goes with the device itself, not with the name it was opened by, and binds root too: two
    // programs talking to one unit at once would each take the other's answers.
    if (::flock(m_port.handle(), LOCK_EX | LOCK_NB) != 0) {
        const QString reason =
            errno == EWOULDBLOCK ? QStringLiteral("another program is using it") : qt_error_string(errno);
        m_port.close();
        m_device.clear();
        throw Failure(
            QStringLiteral("The serial port %1 cannot be opened: %2").arg(m_port.portName(), reason));
    }
    // A pseudo-terminal refuses DTR; the remembered value stays and the line works all the same.
    m_port.setDataTerminalReady(m_dtr);
    m_port.clearError();
    m_lost = false;
    m_watch.stop();
    m_writer = std::make_unique<LineWriter>(m_port.handle());
    connect(m_writer.get(), &LineWriter::failed, this, [this](const QString& reason) {
        if (m_port.isOpen()) loseDevice(reason);
    });
    emit connectionChanged(true);
}

void QtSerialPort::send(const QByteArray& data) {
    if (!m_port.isOpen()) open();
    if (data.size() > outputFree())
        throw Failure(QStringLiteral("Output buffer too small: %1 bytes do not fit into the %2 bytes free.")
                          .arg(data.size())
                          .arg(outputFree()));
    m_writer->write(data);
}

quint8 QtSerialPort::readChar() {
    if (m_readAt >= m_received.size()) return 0;
    const auto byte = static_cast<quint8>(m_received[m_readAt++]);
    // Taken bytes go in one piece once all are read, not one by one.
    if (m_readAt == m_received.size()) {
        m_received.clear();
        m_readAt = 0;
    }
    return byte;
}

int QtSerialPort::outputFree() const {
    if (!m_port.isOpen()) return OutputBufferSize;
    return static_cast<int>(std::max<qsizetype>(0, OutputBufferSize - m_writer->pending()));
}

void QtSerialPort::setDtr(bool on) {
    m_dtr = on;
    if (m_port.isOpen()) m_port.setDataTerminalReady(on);
}

bool QtSerialPort::isChosen() const {
    // A device that was lost is still the user's choice once its node is back.
    return !m_device.isEmpty() && (!m_lost || QFileInfo::exists(m_device));
}

bool QtSerialPort::inputWaiting() const {
    if (m_readAt < m_received.size() || m_port.bytesAvailable() > 0) return true;
    int waiting = 0;
    return m_port.isOpen() && ::ioctl(m_port.handle(), FIONREAD, &waiting) == 0 && waiting > 0;
}

qint64 QtSerialPort::outputPending() const {
    if (!m_port.isOpen()) return 0;
    // What the driver holds has not left either.
    int queued = 0;
    if (::ioctl(m_port.handle(), TIOCOUTQ, &queued) != 0) queued = 0;
    return m_writer->pending() + queued;
}

void QtSerialPort::close() {
    if (!m_port.isOpen()) return;
    // What is queued leaves first (a closing program switches the unit back with its last command), for
    // at most the time the line needs to carry it and a second more, should the unit hold it up.
    const qsizetype queued = m_writer->pending();
    if (queued > 0 && !m_lost) m_writer->drain(static_cast<int>(queued * 1000 / LineBytesPerSecond) + 1000);
    // The writer goes first: it must not write to a descriptor that is closed or already reused.
    m_writer.reset();
    m_port.close();
    emit connectionChanged(false);
}

void QtSerialPort::takeReceived() {
    // readyRead comes from the event loop (the device's read notification), never from inside send(): the
    // receiver is told at once, without another pass through the event queue. QSerialPort does not say
    // readyRead again while a handler of it runs an event loop of its own (a message box): what came
    // meanwhile is told once that handler returns.
    do {
        const QByteArray bytes = m_port.readAll();
        m_received += bytes;
        m_unannounced += bytes.size();
        while (m_unannounced > 0) {
            const auto count = static_cast<quint16>(std::min<qsizetype>(m_unannounced, 0xFFFF));
            m_unannounced -= count;
            emit triggerAvail(count);
        }
    } while (m_port.isOpen() && m_port.bytesAvailable() > 0);
}

void QtSerialPort::loseDevice(const QString& reason) {
    m_lost = true;
    m_lostReason = reason;
    close();
    m_watch.start();
    // Whoever uses the line reports the loss, once, with what it meant for the work under way.
    QTimer::singleShot(0, this, [this, reason] { emit lost(reason); });
}
