#include "files/Backup.h"

#include "core/Failure.h"
#include "core/WholeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString backupFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/zuvovu/backups");
}

QString writeBackup(const QByteArray& configuration, const QDateTime& when) {
    const QString folder = backupFolder();
    if (!QDir().mkpath(folder))
        throw Failure(
            QStringLiteral("The backup folder %1 cannot be created.").arg(QDir::toNativeSeparators(folder)));
    const QString stem =
        folder + QStringLiteral("/unit-") + when.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    // Two programmings within a second each keep their own backup.
    QString path = stem + QStringLiteral(".oru");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QStringLiteral("-%1.oru").arg(n);
    writeWholeFile(path, configuration);
    return QDir::toNativeSeparators(path);
}
