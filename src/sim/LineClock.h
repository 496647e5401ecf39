#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

#include <algorithm>
#include <cmath>

// A serial line at a fixed rate in bytes per second: how many bytes it has carried since it started,
// less those already passed on. A byte counts once its last bit is through.
class LineClock {
public:
    explicit LineClock(int bytesPerSecond) : m_rate(bytesPerSecond) {}

    // The line starts carrying now, after being idle.
    void restart() {
        m_clock.start();
        m_passed = 0;
    }
    // Bytes through by now that have not been passed on.
    qint64 due() const {
        return static_cast<qint64>(static_cast<double>(m_clock.nsecsElapsed()) * m_rate / 1e9) - m_passed;
    }
    void pass(qint64 count) { m_passed += count; }
    // Milliseconds until count more bytes than due() now are through; at least 1.
    int msUntil(qint64 count) const {
        const double at = static_cast<double>(m_passed + due() + count) * 1000 / m_rate;
        const double now = static_cast<double>(m_clock.nsecsElapsed()) / 1e6;
        return std::max(1, static_cast<int>(std::ceil(at - now)));
    }

private:
    int m_rate;
    QElapsedTimer m_clock;
    qint64 m_passed = 0;
};
