#include "core/Pacer.h"

#include <QDateTime>
#include <algorithm>

TimerDeadline::TimerDeadline() {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &Deadline::expired);
}

void RealPacer::after(int ms, QObject* context, std::function<void()> then) {
    QTimer::singleShot(std::max(ms, 0), Qt::PreciseTimer, context, std::move(then));
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
