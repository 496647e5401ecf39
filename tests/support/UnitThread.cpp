#include "UnitThread.h"

#include "sim/PtyFront.h"
#include "sim/SimulatedUnit.h"

UnitThread::UnitThread(const SimOptions& options) : m_options(options) {}

UnitThread::~UnitThread() {
    stopUnit();
}

QByteArray UnitThread::startUnit() {
    start();
    QMutexLocker lock(&m_mutex);
    while (!m_started)
        m_ready.wait(&m_mutex);
    return m_path;
}

void UnitThread::stopUnit() {
    quit();
    wait();
}

void UnitThread::run() {
    SimulatedUnit unit(m_options);
    PtyFront front(unit);
    {
        QMutexLocker lock(&m_mutex);
        m_path = front.devicePath();
        m_started = true;
    }
    m_ready.wakeAll();
    exec();
    m_scripts = unit.scripts();
    m_audioFiles = unit.audioFiles();
}
