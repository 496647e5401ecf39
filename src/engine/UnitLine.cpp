#include "engine/UnitLine.h"

#include "comm/SerialPort.h"
#include "core/Failure.h"
#include "core/Pacer.h"
#include "engine/Answers.h"

UnitLine::UnitLine(SerialPort& port, Pacer& pacer, QObject* parent)
    : QObject(parent), m_port(port), m_pacer(pacer), m_dtr(port.dtr()) {
    // The port closed: whatever was open gets no answer on it.
    connect(&port, &SerialPort::connectionChanged, this, [this](bool) { forgetOpen(); });
}

void UnitLine::write(const QByteArray& bytes, bool command) {
    m_port.send(bytes);
    if (!command) return;
    const QByteArray text = bytes.endsWith("\r\n") ? bytes.chopped(2) : bytes;
    if (awaitsFinalResult(text)) m_open << text;
}

void UnitLine::send(const QByteArray& command) {
    if (!holding()) return write(command, true);
    m_queue << [this, command] { write(command, true); };
}

void UnitLine::sendData(const QByteArray& bytes) {
    if (!holding()) return write(bytes, false);
    m_queue << [this, bytes] { write(bytes, false); };
}

void UnitLine::setDtr(bool on) {
    m_dtr = on;
    if (!holding()) return m_port.setDtr(on);
    m_queue << [this, on] { m_port.setDtr(on); };
}

void UnitLine::then(std::function<void()> then) {
    if (!holding()) return then();
    m_queue << std::move(then);
}

void UnitLine::pause(int ms) {
    if (!holding()) {
        m_pausing = true;
        m_pacer.after(ms, this, [this] {
            m_pausing = false;
            runQueue();
        });
        return;
    }
    m_queue << [this, ms] { pause(ms); };
}

void UnitLine::runQueue() {
    while (!m_queue.isEmpty() && !m_pausing) {
        const std::function<void()> next = m_queue.takeFirst();
        try {
            next();
        } catch (const Failure& failure) {
            // What followed the failed send would go to a line that is not there.
            m_queue.clear();
            emit failed(failure.text());
        }
    }
    if (!holding()) emit released();
}

void UnitLine::dropQueued() {
    m_queue.clear();
}

UnitLine::Taken UnitLine::take(const QByteArray& line) {
    // The framing's blank lines belong to whatever they frame.
    if (line.isEmpty()) return {Role::Unsolicited, {}};
    if (isFinalResult(line)) {
        if (std::exchange(m_lateAnswer, false) || m_open.isEmpty()) return {Role::Unsolicited, {}};
        return {Role::Final, m_open.takeFirst()};
    }
    // A module that echoes says the command back before it answers.
    if (m_open.contains(line)) return {Role::Unsolicited, {}};
    m_lateAnswer = false;
    // The unit answers in order: a line answers the oldest command open, or none.
    if (!m_open.isEmpty() && expectsAnswer(m_open.first(), line)) return {Role::Answer, m_open.first()};
    m_lateAnswer = isQueryAnswer(line);
    return {Role::Unsolicited, {}};
}

void UnitLine::forgetOpen() {
    m_open.clear();
    m_lateAnswer = false;
}
