#include "app/Pacer.h"

#include <QThread>

void RealPacer::wait(int ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

QTime RealPacer::now() {
    return QTime::currentTime();
}
