#include "sim/PtyFront.h"

#include "core/Failure.h"

#include <QSocketNotifier>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// What waits for a peer that does not read is kept up to this much, the rest is lost as on a real line.
constexpr qsizetype MostUnsent = 1 << 20;

[[noreturn]] void fail(const char* what) {
    throw Failure(QStringLiteral("%1: %2").arg(QString::fromLatin1(what),
                                               QString::fromLocal8Bit(std::strerror(errno))));
}

} // namespace

PtyFront::PtyFront(SimulatedUnit& unit, QObject* parent)
    : QObject(parent), m_unit(unit), m_line(unit.options().inputBytesPerSecond) {
    // Neither end goes to programs started from here: a peer started so must see the line close with us.
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0) fail("posix_openpt");
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) fail("grantpt");
    m_path = ptsname(m_master);
    m_slave = ::open(m_path.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) fail("open");
    // Raw bytes both ways: no echo, no line editing, no CR/LF translation.
    termios settings{};
    if (tcgetattr(m_slave, &settings) != 0) fail("tcgetattr");
    cfmakeraw(&settings);
    if (tcsetattr(m_slave, TCSANOW, &settings) != 0) fail("tcsetattr");

    m_readable = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readable, &QSocketNotifier::activated, this, &PtyFront::readFromPeer);
    m_writable = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writable->setEnabled(false);
    connect(m_writable, &QSocketNotifier::activated, this, &PtyFront::flush);
    connect(&m_unit, &SimulatedUnit::output, this, &PtyFront::writeToPeer);
    m_resume.setSingleShot(true);
    connect(&m_resume, &QTimer::timeout, this, [this] { m_readable->setEnabled(!m_hung); });
}

PtyFront::~PtyFront() {
    delete m_readable;
    delete m_writable;
    if (m_slave >= 0) ::close(m_slave);
    if (m_master >= 0) ::close(m_master);
}

void PtyFront::readFromPeer() {
    const bool paced = m_unit.options().inputBytesPerSecond > 0;
    char buffer[4096];
    for (;;) {
        qint64 most = sizeof buffer;
        if (paced) {
            if (std::exchange(m_lineIdle, false)) m_line.restart();
            most = std::min(most, m_line.due());
            if (most == 0) {
                pauseReading();
                return;
            }
        }
        const ssize_t count = ::read(m_master, buffer, static_cast<size_t>(most));
        if (count <= 0) {
            m_lineIdle = true;
            return;
        }
        m_line.pass(count);
        m_unit.receive(QByteArray(buffer, count));
    }
}

void PtyFront::pauseReading() {
    int waiting = 0;
    if (::ioctl(m_master, FIONREAD, &waiting) != 0) waiting = 0;
    m_readable->setEnabled(false);
    m_resume.start(m_line.msUntil(std::clamp(waiting, 1, 4096)));
}

void PtyFront::writeToPeer(const QByteArray& bytes) {
    m_unsent += bytes.left(MostUnsent - m_unsent.size());
    flush();
}

void PtyFront::flush() {
    while (!m_unsent.isEmpty()) {
        const ssize_t count = ::write(m_master, m_unsent.constData(), static_cast<size_t>(m_unsent.size()));
        if (count <= 0) break;
        m_unsent.remove(0, count);
    }
    m_writable->setEnabled(!m_unsent.isEmpty());
}

void PtyFront::hang() {
    m_hung = true;
    m_readable->setEnabled(false);
}
