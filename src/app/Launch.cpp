#include "app/Launch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString settingsPathFor(const QString& executablePath) {
    const QFileInfo info(executablePath);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    return info.dir().filePath(base + QStringLiteral(".ini"));
}

QString settingsLocation(const QString& besideExecutable, const QString& userConfigFolder) {
    const QFileInfo beside(besideExecutable);
    if (beside.exists() || QFileInfo(beside.absolutePath()).isWritable()) return besideExecutable;
    return QDir(userConfigFolder).filePath(QStringLiteral("zuvovu/") + beside.fileName());
}

Launch launchFrom(const QString& argv0) {
    // Started through PATH, argv[0] is a bare name; find it the way the shell did. The link itself
    // is kept, not resolved: its name picks the edition and its folder holds the settings.
    QString path = argv0;
    if (!argv0.contains(QLatin1Char('/'))) {
        const QString found = QStandardPaths::findExecutable(argv0);
        // A bare name not on PATH was given by whatever started the program, not by the shell: the
        // running executable's own folder is where the name stands.
        path = !found.isEmpty() ? found : QDir(QCoreApplication::applicationDirPath()).filePath(argv0);
    }
    path = QFileInfo(path).absoluteFilePath();
    return {QFileInfo(argv0).fileName(),
            settingsLocation(settingsPathFor(path),
                             QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))};
}
