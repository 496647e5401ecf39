#include "app/Launch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The settings file stands beside the executable however the program was started.
class TestLaunch : public QObject {
    Q_OBJECT

    QTemporaryDir m_onPath;
    QByteArray m_oldPath;

private slots:
    void initTestCase() {
        QFile program(m_onPath.filePath(QStringLiteral("ORU2")));
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.close();
        QVERIFY(program.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        m_oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_onPath.path()));
    }
    void cleanupTestCase() { qputenv("PATH", m_oldPath); }

    void settingsBesideTheExecutable_data() {
        QTest::addColumn<QString>("argv0");
        QTest::addColumn<QString>("exeName");
        QTest::addColumn<QString>("settingsPath");
        QTest::newRow("bare name found on PATH") << "ORU2"
                                                 << "ORU2" << m_onPath.filePath(QStringLiteral("ORU2.ini"));
        QTest::newRow("bare name not on PATH")
            << "zuvovu-elsewhere"
            << "zuvovu-elsewhere"
            << QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("zuvovu-elsewhere.ini"));
        QTest::newRow("relative path")
            << "bin/zuvovu.exe"
            << "zuvovu.exe" << QDir::current().filePath(QStringLiteral("bin/zuvovu.ini"));
        QTest::newRow("absolute path") << "/opt/unit/zuvovu"
                                       << "zuvovu"
                                       << "/opt/unit/zuvovu.ini";
    }
    void settingsBesideTheExecutable() {
        QFETCH(QString, argv0);
        const Launch launch = launchFrom(argv0);
        QTEST(launch.exeName, "exeName");
        QTEST(launch.settingsPath, "settingsPath");
    }
};

QTEST_GUILESS_MAIN(TestLaunch)
#include "tst_launch.moc"
