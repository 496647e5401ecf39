#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// An install into an empty prefix holds both programs, a valid desktop entry and its icon.
class TestInstall : public QObject {
    Q_OBJECT
private slots:
    void installIntoPrefix() {
        const QString build = qEnvironmentVariable("ZUVOVU_BUILD_DIR");
        if (build.isEmpty()) QSKIP("ZUVOVU_BUILD_DIR names no build folder");
        QTemporaryDir prefix;
        QProcess install;
        install.start(QStringLiteral("cmake"),
                      {QStringLiteral("--install"), build, QStringLiteral("--prefix"), prefix.path()});
        QVERIFY(install.waitForFinished(-1));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());

        const QDir root(prefix.path());
        for (const char* program : {"bin/zuvovu", "bin/zuvovu-sim"})
            QVERIFY2(QFileInfo(root.filePath(QString::fromLatin1(program))).isExecutable(), program);
        QVERIFY(
            QFileInfo::exists(root.filePath(QStringLiteral("share/icons/hicolor/scalable/apps/zuvovu.svg"))));

        const QString entry = root.filePath(QStringLiteral("share/applications/zuvovu.desktop"));
        QSettings desktop(entry, QSettings::IniFormat);
        desktop.beginGroup(QStringLiteral("Desktop Entry"));
        QCOMPARE(desktop.value(QStringLiteral("Type")).toString(), QStringLiteral("Application"));
        QCOMPARE(desktop.value(QStringLiteral("Exec")).toString(), QStringLiteral("zuvovu"));
        QCOMPARE(desktop.value(QStringLiteral("Icon")).toString(), QStringLiteral("zuvovu"));

        if (QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty())
            QSKIP("desktop-file-validate is not installed");
        QProcess validate;
        validate.start(QStringLiteral("desktop-file-validate"), {entry});
        QVERIFY(validate.waitForFinished(-1));
        QVERIFY2(validate.exitCode() == 0, validate.readAllStandardOutput().constData());
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
