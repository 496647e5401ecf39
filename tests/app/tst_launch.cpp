#include "app/Launch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

// The settings file stands beside the executable however the program was started, unless it can be
// written only in the user's configuration folder.
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
        // The folders named below exist and can be written, so the settings stay beside the program.
        QVERIFY(QDir(m_onPath.path()).mkpath(QStringLiteral("bin")));
        QVERIFY(QDir::setCurrent(m_onPath.path()));
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
        QTest::newRow("absolute path") << m_onPath.filePath(QStringLiteral("bin/zuvovu")) << "zuvovu"
                                       << m_onPath.filePath(QStringLiteral("bin/zuvovu.ini"));
    }
    void settingsBesideTheExecutable() {
        QFETCH(QString, argv0);
        const Launch launch = launchFrom(argv0);
        QTEST(launch.exeName, "exeName");
        QTEST(launch.settingsPath, "settingsPath");
    }

    // An installed program cannot write beside itself: its settings go to the user's folder.
    void settingsWhereTheyCanBeWritten_data() {
        QTest::addColumn<bool>("folderWritable");
        QTest::addColumn<bool>("fileBeside");
        QTest::addColumn<bool>("staysBeside");
        QTest::newRow("writable folder, no file yet") << true << false << true;
        QTest::newRow("read-only folder, no file") << false << false << false;
        QTest::newRow("read-only folder with a file beside") << false << true << true;
    }
    void settingsWhereTheyCanBeWritten() {
        QFETCH(bool, folderWritable);
        QFETCH(bool, fileBeside);
        QTemporaryDir dir;
        const QString beside = dir.filePath(QStringLiteral("ORU2.ini"));
        if (fileBeside) {
            QFile file(beside);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        if (!folderWritable) {
            QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
            if (QFileInfo(dir.path()).isWritable()) QSKIP("this user writes into every folder");
        }
        const QString location = settingsLocation(beside, QStringLiteral("/home/u/.config"));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QTEST(location == beside, "staysBeside");
        if (location != beside) QCOMPARE(location, QStringLiteral("/home/u/.config/zuvovu/ORU2.ini"));
    }
    void settingsBesideAFolderThatIsGone() {
        QCOMPARE(settingsLocation(QStringLiteral("/nonexistent/bin/zuvovu.ini"), QStringLiteral("/cfg")),
                 QStringLiteral("/cfg/zuvovu/zuvovu.ini"));
    }
};

QTEST_GUILESS_MAIN(TestLaunch)
#include "tst_launch.moc"
