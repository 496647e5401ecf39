#include "comm/LineWriter.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <unistd.h>

namespace {

// How long one wait for room in the system buffer lasts before the writer looks whether it should stop.
constexpr int PollMs = 100;

} // namespace

LineWriter::LineWriter(int fd, QObject* parent) : QObject(parent), m_fd(fd), m_thread([this] { run(); }) {}

LineWriter::~LineWriter() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void LineWriter::write(const QByteArray& bytes) {
    if (bytes.isEmpty()) return;
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(bytes);
        m_pending += bytes.size();
    }
    m_wake.notify_one();
}

qsizetype LineWriter::pending() const {
    std::lock_guard lock(m_mutex);
    return m_pending;
}

bool LineWriter::drain(int ms) {
    std::unique_lock lock(m_mutex);
    return m_drained.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_pending == 0; });
}

void LineWriter::run() {
    for (;;) {
        QByteArray piece;
        qsizetype from = 0;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
            if (m_stop) return;
            piece = m_queue.front();
            from = m_taken;
        }
        pollfd writable{m_fd, POLLOUT, 0};
        if (::poll(&writable, 1, PollMs) == 0) continue;
        const ssize_t written =
            ::write(m_fd, piece.constData() + from, static_cast<size_t>(piece.size() - from));
        if (written < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            const QString reason = qt_error_string(errno);
            {
                std::lock_guard lock(m_mutex);
                m_queue.clear();
                m_pending = 0;
                m_taken = 0;
            }
            m_drained.notify_all();
            // Queued to the maker's thread, since this one is not it.
            emit failed(reason);
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop; });
            return;
        }
        std::lock_guard lock(m_mutex);
        m_taken += written;
        m_pending -= written;
        if (m_taken == m_queue.front().size()) {
            m_queue.pop_front();
            m_taken = 0;
        }
        if (m_pending == 0) m_drained.notify_all();
    }
}
