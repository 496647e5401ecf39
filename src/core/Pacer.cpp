#include "core/Pacer.h"

#include <QThread>

TimerDeadline::TimerDeadline() {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &Deadline::expired);
}

void RealPacer::wait(int ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

QTime RealPacer::now() {
    return QTime::currentTime();
}
