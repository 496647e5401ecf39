#include "engine/UnitLine.h"

#include "comm/SerialPort.h"
#include "core/Failure.h"
#include "core/Pacer.h"
#include "engine/Answers.h"

#include <utility>

namespace {

// A line that never ends is cut here; no answer of the module comes near it.
constexpr qsizetype MaxLineLength = 64 * 1024;

} // namespace

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

void UnitLine::onReceived(std::function<void(const QByteArray&)> line, std::function<void()> prompt) {
    m_handleLine = std::move(line);
    m_handlePrompt = std::move(prompt);
}

void UnitLine::receive(quint16 count) {
    QStringList failures;
    for (int i = 0; i < count; ++i) {
        const quint8 c = m_port.readChar();
        if (c == 13) {
            m_held << std::exchange(m_partial, {});
            m_partialCut = false;
        } else if (c >= 32) {
            if (m_partial.size() >= MaxLineLength) {
                if (!std::exchange(m_partialCut, true)) emit lineCut();
                continue;
            }
            m_partial.append(static_cast<char>(c));
            if (m_partial == ">>>" || m_partial == "CONNECT") {
                try {
                    m_handlePrompt();
                } catch (const Failure& failure) {
                    failures << failure.text();
                }
            }
        }
    }
    try {
        handleHeld();
    } catch (const Failure& failure) {
        failures << failure.text();
    }
    if (!failures.isEmpty()) throw Failure(failures.join(QLatin1Char('\n')));
}

void UnitLine::handleHeld() {
    // A message box that reports a failure runs its own event loop: the failures are reported once the
    // lines are handled. A pause that a line starts holds back the lines after it until it ends, as the
    // unit's answers wait while the program paces it.
    QStringList failures;
    while (!m_held.isEmpty() && !holding()) {
        try {
            m_handleLine(m_held.takeFirst());
        } catch (const Failure& failure) {
            failures << failure.text();
        }
    }
    if (!failures.isEmpty()) throw Failure(failures.join(QLatin1Char('\n')));
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
