#include "Transcript.h"

#include "core/Bytes.h"

#include <QCoreApplication>

namespace {

QString quoted(const QByteArray& line) {
    return '"' + fromBytes(line) + '"';
}

} // namespace

Transcript::Transcript(SimulatedPort& port) : m_port(port) {
    m_reading = QObject::connect(&port, &SerialPort::triggerAvail, [this](quint16 count) { read(count); });
}

Transcript::~Transcript() {
    QObject::disconnect(m_reading);
}

QString Transcript::play(const QByteArray& script) {
    for (const QByteArray& scriptLine : script.split('\n')) {
        const QByteArray step = scriptLine.trimmed();
        if (step.isEmpty()) continue;
        if (step.startsWith("> ")) {
            settle(m_port);
            if (!m_lines.isEmpty())
                return "the module said " + quoted(m_lines.first()) + " before " + quoted(step.mid(2));
            m_port.send(step.mid(2) + "\r\n");
        } else if (step.startsWith("< ")) {
            if (QString failure = expect(step.mid(2)); !failure.isEmpty()) return failure;
        } else {
            return "not a transcript line: " + quoted(step);
        }
    }
    settle(m_port);
    if (!m_lines.isEmpty()) return "the module said more: " + quoted(m_lines.join("\" \""));
    return {};
}

void settle(SimulatedPort& port) {
    // What the window posted for later runs too, and may talk to the unit again.
    do {
        while (!port.quiet())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();
    } while (!port.quiet());
}

void Transcript::read(quint16 count) {
    for (int i = 0; i < count; ++i) {
        const char c = static_cast<char>(m_port.readChar());
        if (c == '\r') {
            if (!m_partial.isEmpty()) m_lines.append(std::exchange(m_partial, {}));
        } else if (c != '\n') {
            m_partial.append(c);
        }
    }
}

QString Transcript::expect(const QByteArray& line) {
    if (m_lines.isEmpty()) settle(m_port);
    if (m_lines.isEmpty() && !m_partial.isEmpty() && m_partial == line) {
        m_partial.clear();
        return {};
    }
    if (m_lines.isEmpty() && !m_partial.isEmpty())
        return "expected " + quoted(line) + ", the module said " + quoted(m_partial) + " without line end";
    if (m_lines.isEmpty()) return "expected " + quoted(line) + ", the module said nothing more";
    const QByteArray said = m_lines.takeFirst();
    if (said != line) return "expected " + quoted(line) + ", the module said " + quoted(said);
    return {};
}
