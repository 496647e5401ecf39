#pragma once

#include "sim/SimOptions.h"

#include <QByteArray>
#include <QMap>
#include <QMutex>
#include <QThread>
#include <QWaitCondition>

// The simulated unit on a pseudo-terminal, in a thread of its own: it reads and answers while the window
// thread sleeps in a pacing wait, as a real unit at the end of a cable does.
class UnitThread : public QThread {
    Q_OBJECT
public:
    explicit UnitThread(const SimOptions& options);
    ~UnitThread() override;

    // Starts the unit and returns its device path once the terminal is there.
    QByteArray startUnit();
    // Stops the unit; afterwards what it stored can be read.
    void stopUnit();
    const QMap<QByteArray, QByteArray>& scripts() const { return m_scripts; }
    const QMap<QByteArray, QByteArray>& audioFiles() const { return m_audioFiles; }

protected:
    void run() override;

private:
    const SimOptions m_options;
    QMutex m_mutex;
    QWaitCondition m_ready;
    QByteArray m_path;
    bool m_started = false;
    QMap<QByteArray, QByteArray> m_scripts;
    QMap<QByteArray, QByteArray> m_audioFiles;
};
