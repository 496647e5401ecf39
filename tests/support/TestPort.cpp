#include "TestPort.h"

#include "core/Failure.h"

#include <QTimer>

QByteArrayList TestPort::commands() const {
    QByteArrayList result;
    for (const QByteArray& s : sent)
        if (s.endsWith("\r\n")) result << s.chopped(2);
    return result;
}

void TestPort::feed(const QByteArray& bytes) {
    QTimer::singleShot(0, this, [this, bytes] { deliver(bytes); });
}

void TestPort::deliver(const QByteArray& bytes) {
    m_pending += bytes;
    emit triggerAvail(static_cast<quint16>(bytes.size()));
}

void TestPort::send(const QByteArray& data) {
    if (!open) {
        if (!chosen) throw Failure(QStringLiteral("No serial port was chosen."));
        if (!failOpen.isEmpty()) throw Failure(failOpen);
        open = true;
        emit connectionChanged(true);
    }
    if (data.size() > outputFree()) throw Failure(QStringLiteral("Output buffer too small"));
    sent << data;
    if (drainAfterPolls > 0) {
        outputFreeValue = OutputBufferSize - static_cast<int>(data.size());
        m_polls = 0;
    }
}

quint8 TestPort::readChar() {
    if (m_pending.isEmpty()) return 0;
    const quint8 byte = static_cast<quint8>(m_pending.front());
    m_pending.remove(0, 1);
    return byte;
}

int TestPort::outputFree() const {
    if (drainAfterPolls > 0 && outputFreeValue < OutputBufferSize && ++m_polls > drainAfterPolls)
        const_cast<TestPort*>(this)->outputFreeValue = OutputBufferSize;
    return outputFreeValue;
}
