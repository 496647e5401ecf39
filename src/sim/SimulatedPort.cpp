#include "sim/SimulatedPort.h"

#include "core/Failure.h"

#include <algorithm>
#include <limits>
#include <utility>

SimulatedPort::SimulatedPort(SimulatedUnit& unit, QObject* parent)
    : SerialPort(parent), m_unit(unit), m_line(unit.options().inputBytesPerSecond) {
    m_announce.setSingleShot(true);
    m_announce.setInterval(0);
    connect(&m_announce, &QTimer::timeout, this, &SimulatedPort::announce);
    m_drain.setInterval(10);
    connect(&m_drain, &QTimer::timeout, this, [this] {
        drain();
        if (m_untaken.isEmpty()) m_drain.stop();
    });
    connect(&m_unit, &SimulatedUnit::output, this, &SimulatedPort::take);
}

void SimulatedPort::send(const QByteArray& data) {
    if (m_vanished) {
        m_vanished = false;
        // Nothing more reaches the unit.
        m_untaken.clear();
        close();
        throw Failure(QStringLiteral("The serial port has vanished"));
    }
    const int free = outputFree();
    if (data.size() > free)
        throw Failure(QStringLiteral("Output buffer too small: %1 bytes do not fit into the %2 bytes free.")
                          .arg(data.size())
                          .arg(free));
    if (!m_open) {
        m_open = true;
        emit connectionChanged(true);
    }
    if (m_unit.options().inputBytesPerSecond <= 0) {
        m_unit.receive(data);
        return;
    }
    if (m_untaken.isEmpty()) m_line.restart();
    m_untaken += data;
    if (!m_drain.isActive()) m_drain.start();
}

int SimulatedPort::outputFree() const {
    drain();
    return OutputBufferSize - static_cast<int>(m_untaken.size());
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
    // What is queued still leaves, as it does from a real port that closes.
    m_unit.receive(std::exchange(m_untaken, {}));
    m_drain.stop();
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

void SimulatedPort::drain() const {
    if (m_untaken.isEmpty()) return;
    const qsizetype count = std::min<qsizetype>(m_untaken.size(), m_line.due());
    if (count == 0) return;
    m_line.pass(count);
    const QByteArray taken = m_untaken.left(count);
    m_untaken.remove(0, count);
    m_unit.receive(taken);
}
