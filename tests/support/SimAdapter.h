#pragma once

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

// An adapter as a udev name stands for one: a link of the test's own to the pseudo-terminal of a
// zuvovu-sim. Removing the link is the unplug, making it again the plug-in. The port only ever sees the
// link, so a terminal number freed by the simulator and taken by another program never passes for it.
struct SimAdapter {
    // limitMs: how long the simulator may take to start or to end.
    explicit SimAdapter(int limitMs) : limitMs(limitMs) {}

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ttyADAPTER"));
    const int limitMs;

    // Starts the simulator, stopped, and links the path to its terminal; false where that failed.
    bool plugIn(QProcess& sim) const {
        sim.start(qEnvironmentVariable("ZUVOVU_BUILD_DIR") + QStringLiteral("/zuvovu-sim"),
                  {QStringLiteral("--stopped")});
        while (!sim.canReadLine())
            if (!sim.waitForReadyRead(limitMs)) return false;
        const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
        return device.startsWith(QStringLiteral("/dev/")) && QFile::link(device, path);
    }
    // The link goes before the simulator ends and frees its terminal.
    bool unplug(QProcess& sim) const {
        const bool removed = QFile::remove(path);
        sim.terminate();
        return sim.waitForFinished(limitMs) && removed;
    }
};
