#include "core/Pacer.h"

#include <QDateTime>
#include <QEventLoop>
#include <QThread>
#include <algorithm>

TimerDeadline::TimerDeadline() {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &Deadline::expired);
}

void RealPacer::wait(int ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

void RealPacer::waitDrawing(int ms) {
    // Only the window system's drawing and the timers run: the port's and the signals' notifiers wait, and so
    // does the user's input, the close button included, each to be taken in order after the wait.
    QEventLoop loop;
    QTimer::singleShot(std::max(ms, 0), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
}

QTime RealPacer::now() {
    constexpr qint64 MinuteMs = 60 * 1000;
    constexpr qint64 DayMs = 24 * 60 * MinuteMs;
    const qint64 utc = QDateTime::currentMSecsSinceEpoch();
    // Zones change their offset at whole minutes at most.
    if (utc >= m_zoneCheckedUntil) {
        m_zoneOffsetMs = qint64(QDateTime::fromMSecsSinceEpoch(utc).offsetFromUtc()) * 1000;
        m_zoneCheckedUntil = (utc / MinuteMs + 1) * MinuteMs;
    }
    return QTime::fromMSecsSinceStartOfDay(
        static_cast<int>(((utc + m_zoneOffsetMs) % DayMs + DayMs) % DayMs));
}
