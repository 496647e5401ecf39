#include "sim/SimulatedPort.h"

#include "app/Failure.h"

#include <limits>

SimulatedPort::SimulatedPort(SimulatedUnit& unit, QObject* parent) : SerialPort(parent), m_unit(unit) {
    m_announce.setSingleShot(true);
    m_announce.setInterval(0);
    connect(&m_announce, &QTimer::timeout, this, &SimulatedPort::announce);
    connect(&m_unit, &SimulatedUnit::output, this, &SimulatedPort::take);
}

void SimulatedPort::send(const QByteArray& data) {
    if (m_vanished) {
        m_vanished = false;
        close();
        throw Failure(QStringLiteral("The serial port has vanished"));
    }
    if (data.size() > OutputBufferSize)
        throw Failure(QStringLiteral("Output buffer too small: %1 bytes do not fit into the %2 bytes free.")
                          .arg(data.size())
                          .arg(OutputBufferSize));
    if (!m_open) {
        m_open = true;
        emit connectionChanged(true);
    }
    m_unit.receive(data);
}

quint8 SimulatedPort::readChar() {
    if (m_readAt == m_input.size()) return 0;
    const auto c = static_cast<quint8>(m_input[m_readAt++]);
    if (m_readAt == m_input.size()) {
        m_input.clear();
        m_readAt = 0;
    }
    return c;
}

void SimulatedPort::close() {
    if (!m_open) return;
    m_open = false;
    m_input.clear();
    m_readAt = 0;
    m_announce.stop();
    emit connectionChanged(false);
}

void SimulatedPort::take(const QByteArray& bytes) {
    if (!m_open) return;
    m_input += bytes;
    if (!m_announce.isActive()) m_announce.start();
}

void SimulatedPort::announce() {
    const qsizetype waiting = m_input.size() - m_readAt;
    if (waiting == 0) return;
    constexpr qsizetype most = std::numeric_limits<quint16>::max();
    if (waiting > most) m_announce.start();
    emit triggerAvail(static_cast<quint16>(qMin(waiting, most)));
}
