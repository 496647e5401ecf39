#include "FormFixture.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// Files this process writes cannot grow beyond a few bytes while it lives, as on a full disk; the
// system then refuses the write instead of stopping the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

class TestFailedSave : public QObject {
    Q_OBJECT
private slots:
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
};

void TestFailedSave::failedSaveKeepsOldFile_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("name");
    QTest::newRow("configuration file") << "Save"
                                        << "unit.oru";
    QTest::newRow("monitor log") << "SaveMonitor"
                                 << "session.mon";
}

void TestFailedSave::failedSaveKeepsOldFile() {
    QFETCH(QString, button);
    QFETCH(QString, name);
    FormFixture fixture;
    fixture.form->log("[10:00:00]   a monitor line longer than the limit");
    const QString path = fixture.path(name);
    const QByteArray old = "ADMIN1=123\r\nan older file\r\n";
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    fixture.dialogs.saveAnswers << path;
    {
        const FileSizeLimit limit(8);
        fixture.form->findChild<QPushButton*>(button)->click();
    }
    QCOMPARE(fixture.dialogs.errors.size(), 1);
    QVERIFY2(fixture.dialogs.errors[0].contains(name), qPrintable(fixture.dialogs.errors[0]));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
    QCOMPARE(QDir(fixture.dir.path()).entryList(QDir::Files | QDir::Hidden).filter(name), QStringList{name});
    QCOMPARE(fixture.dialogs.problems(), QString());
}

QTEST_MAIN(TestFailedSave)
#include "tst_failedsave.moc"
