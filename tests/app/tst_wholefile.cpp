#include "TestData.h"

#include "core/Failure.h"
#include "core/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray fileData(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// The text of the failure the call ends with; empty when it ends without one.
template <typename Call> QString failureOf(Call&& call) {
    try {
        call();
    } catch (const Failure& failure) {
        return failure.text();
    }
    return {};
}

} // namespace

// Names that are not regular files are met in a temporary folder: a FIFO nobody writes to, a device that
// never ends, links to both.
class TestWholeFile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() {
        QCOMPARE(::mkfifo(QFile::encodeName(path(QStringLiteral("fifo"))).constData(), 0600), 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path(QStringLiteral("zero"))));
        QVERIFY(QFile::link(path(QStringLiteral("fifo")), path(QStringLiteral("to-fifo"))));
        writeFile(path(QStringLiteral("target.txt")), "old");
        QVERIFY(QFile::link(path(QStringLiteral("target.txt")), path(QStringLiteral("link.txt"))));
    }

    void readRefusesWhatIsNotARegularFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("FIFO") << "fifo"
                              << "not a regular file";
        QTest::newRow("link to a FIFO") << "to-fifo"
                                        << "not a regular file";
        QTest::newRow("link to a device") << "zero"
                                          << "not a regular file";
        QTest::newRow("folder") << "."
                                << "not a regular file";
        QTest::newRow("missing") << "absent"
                                 << "No such file";
    }
    void readRefusesWhatIsNotARegularFile() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QString text = failureOf([&] { readWholeFile(path(name)); });
        QVERIFY2(text.contains(path(name)), qPrintable(text));
        QVERIFY2(text.contains(reason), qPrintable(text));
    }

    void readIsBounded_data() {
        QTest::addColumn<qsizetype>("size");
        QTest::addColumn<bool>("taken");
        QTest::newRow("empty") << qsizetype(0) << true;
        QTest::newRow("at the limit") << qsizetype(100) << true;
        QTest::newRow("one byte over") << qsizetype(101) << false;
    }
    void readIsBounded() {
        QFETCH(qsizetype, size);
        QFETCH(bool, taken);
        const QByteArray data(size, 'x');
        writeFile(path(QStringLiteral("sized")), data);
        if (taken) {
            QCOMPARE(readWholeFile(path(QStringLiteral("sized")), 100), data);
            return;
        }
        const QString text = failureOf([&] { readWholeFile(path(QStringLiteral("sized")), 100); });
        QVERIFY2(text.contains(QStringLiteral("larger than 100 bytes")), qPrintable(text));
    }

    // A link keeps linking; its target gets the new content.
    void writeReplacesALinksTarget() {
        writeWholeFile(path(QStringLiteral("link.txt")), "new");
        QVERIFY(QFileInfo(path(QStringLiteral("link.txt"))).isSymLink());
        QCOMPARE(fileData(path(QStringLiteral("target.txt"))), QByteArray("new"));
    }

    void writeIntoADevice() {
        writeWholeFile(QStringLiteral("/dev/null"), "discarded");
        QVERIFY(!QFileInfo(QStringLiteral("/dev/null")).isFile());
    }

    void writeIntoAFifoWithAReader() {
        const QByteArray fifo = QFile::encodeName(path(QStringLiteral("fifo")));
        const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        writeWholeFile(path(QStringLiteral("to-fifo")), "through");
        char buffer[16] = {};
        const ssize_t count = ::read(reader, buffer, sizeof buffer);
        ::close(reader);
        QCOMPARE(QByteArray(buffer, int(count)), QByteArray("through"));
        QVERIFY(QFileInfo(path(QStringLiteral("to-fifo"))).isSymLink());
    }

    // Nothing reads: a failure at once, not a wait, and the FIFO stays a FIFO.
    void writeIntoAFifoWithoutReader() {
        const QString text = failureOf([&] { writeWholeFile(path(QStringLiteral("fifo")), "lost"); });
        QVERIFY2(text.contains(QStringLiteral("nothing reads from it")), qPrintable(text));
        struct stat info {};
        QCOMPARE(::lstat(QFile::encodeName(path(QStringLiteral("fifo"))).constData(), &info), 0);
        QVERIFY(S_ISFIFO(info.st_mode));
    }
};

QTEST_MAIN(TestWholeFile)
#include "tst_wholefile.moc"
