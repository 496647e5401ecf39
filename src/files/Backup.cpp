#include "files/Backup.h"

#include "core/Failure.h"
#include "core/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <unistd.h>

QString backupFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/zuvovu/backups");
}

void prepareBackupFolder() {
    const QString folder = backupFolder();
    if (!QDir().mkpath(folder))
        throw Failure(
            QStringLiteral("The backup folder %1 cannot be created.").arg(QDir::toNativeSeparators(folder)));
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
        throw Failure(QStringLiteral("The backup folder %1 cannot be written into: %2")
                          .arg(QDir::toNativeSeparators(folder), qt_error_string(errno)));
}

QString writeBackup(const QByteArray& configuration, const QDateTime& when) {
    prepareBackupFolder();
    const QString folder = backupFolder();
    const QString stem =
        folder + QStringLiteral("/unit-") + when.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    // Two programmings within a second each keep their own backup, also when they run side by side in
    // processes of their own: a name is taken by creating the file, which only one of them can do.
    QString path = stem + QStringLiteral(".oru");
    for (int n = 2;; ++n) {
        QFile claim(path);
        if (claim.open(QIODevice::WriteOnly | QIODevice::NewOnly)) break;
        if (!QFileInfo::exists(path))
            throw Failure(QStringLiteral("The backup %1 cannot be written: %2")
                              .arg(QDir::toNativeSeparators(path), claim.errorString()));
        path = stem + QStringLiteral("-%1.oru").arg(n);
    }
    try {
        writeWholeFile(path, configuration);
    } catch (const Failure&) {
        // The name was taken for this backup only.
        QFile::remove(path);
        throw;
    }
    return QDir::toNativeSeparators(path);
}
