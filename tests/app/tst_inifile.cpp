#include "TestData.h"

#include "core/Failure.h"
#include "core/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray fileData(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString iniPath() const { return m_dir.filePath(QStringLiteral("ZUVovu.ini")); }

private slots:
    void init() { QFile::remove(iniPath()); }

    void readString_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("expected");

        const QByteArray week = "Mo  Tu    We  Th     Fr    Sa    Su";
        QTest::newRow("section and key ignore letter case")
            << QByteArray("[form]\r\nTOP=5\r\n") << QByteArray("Form") << QByteArray("top")
            << QByteArray("5");
        QTest::newRow("key keeps its inner blanks") << "[Language]\r\n" + week + "=Po Ut\r\n"
                                                    << QByteArray("Language") << week << QByteArray("Po Ut");
        QTest::newRow("inner blanks of a key must match")
            << "[Language]\r\n" + week + "=Po Ut\r\n"
            << QByteArray("Language") << QByteArray("Mo Tu We Th Fr Sa Su") << QByteArray("<default>");
        QTest::newRow("key with a dot")
            << QByteArray("[Help]\nTree Sel.Button=All numbers\n") << QByteArray("Help")
            << QByteArray("tree sel.button") << QByteArray("All numbers");
        QTest::newRow("blanks around names are not part of them")
            << QByteArray("[ Help ]\n  Pos.Memo = x\n") << QByteArray("Help") << QByteArray("Pos.Memo")
            << QByteArray(" x");
        QTest::newRow("value is everything after the first equals sign")
            << QByteArray("[S]\nk=a=b  \n") << QByteArray("S") << QByteArray("k") << QByteArray("a=b  ");
        QTest::newRow("empty value is empty text, not the default")
            << QByteArray("[S]\r\nk=\r\n") << QByteArray("S") << QByteArray("k") << QByteArray("");
        QTest::newRow("missing key") << QByteArray("[S]\r\nother=1\r\n") << QByteArray("S") << QByteArray("k")
                                     << QByteArray("<default>");
        QTest::newRow("missing section")
            << QByteArray("[T]\r\nk=1\r\n") << QByteArray("S") << QByteArray("k") << QByteArray("<default>");
        QTest::newRow("key of the next section is not found")
            << QByteArray("[S]\r\n[T]\r\nk=1\r\n") << QByteArray("S") << QByteArray("k")
            << QByteArray("<default>");
        QTest::newRow("key before any section is not found")
            << QByteArray("k=1\r\n[S]\r\n") << QByteArray("S") << QByteArray("k") << QByteArray("<default>");
        QTest::newRow("comment is not a key")
            << QByteArray("[S]\n;k=1\n") << QByteArray("S") << QByteArray("k") << QByteArray("<default>");
        QTest::newRow("line end not part of the value, LF")
            << QByteArray("[S]\nk=v\n") << QByteArray("S") << QByteArray("k") << QByteArray("v");
        QTest::newRow("line end not part of the value, CR LF")
            << QByteArray("[S]\r\nk=v\r\n") << QByteArray("S") << QByteArray("k") << QByteArray("v");
        QTest::newRow("last line without line end")
            << QByteArray("[S]\r\nk=v") << QByteArray("S") << QByteArray("k") << QByteArray("v");
        QTest::newRow("8-bit bytes kept") << QByteArray("[S]\r\nk=\xe8\xed\xb9l\xe9\r\n") << QByteArray("S")
                                          << QByteArray("k") << QByteArray("\xe8\xed\xb9l\xe9");
        QTest::newRow("value of 3000 bytes kept whole")
            << "[S]\r\nk=" + QByteArray(2999, 'x') + "y\r\n"
            << QByteArray("S") << QByteArray("k") << QByteArray(2999, 'x') + 'y';
        QTest::newRow("byte-order mark before the first section")
            << QByteArray("\xEF\xBB\xBF[S]\r\nk=v\r\n") << QByteArray("S") << QByteArray("k")
            << QByteArray("v");
    }
    void readString() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, expected);
        writeFile(iniPath(), file);
        QCOMPARE(IniFile(iniPath()).readString(section, key, "<default>"), expected);
    }

    void missingFileGivesDefaults() {
        const IniFile ini(iniPath());
        QCOMPARE(ini.readString("Form", "Top", "x"), QByteArray("x"));
        QCOMPARE(ini.readInteger("Form", "Top", 200), 200);
        QCOMPARE(ini.readBool("Form", "Inicializace", false), false);
    }

    void readInteger_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal") << QByteArray("200") << 200;
        QTest::newRow("negative") << QByteArray("-5") << -5;
        QTest::newRow("plus sign") << QByteArray("+7") << 7;
        QTest::newRow("hexadecimal 0x") << QByteArray("0x1F") << 31;
        QTest::newRow("hexadecimal $") << QByteArray("$1f") << 31;
        QTest::newRow("surrounding blanks") << QByteArray(" 42 ") << 42;
        QTest::newRow("int maximum") << QByteArray("2147483647") << 2147483647;
        QTest::newRow("int minimum") << QByteArray("-2147483648") << int(-2147483648LL);
        QTest::newRow("trailing letters") << QByteArray("12abc") << -1;
        QTest::newRow("empty") << QByteArray("") << -1;
        QTest::newRow("word") << QByteArray("abc") << -1;
        QTest::newRow("fraction") << QByteArray("1.5") << -1;
        QTest::newRow("inner blank") << QByteArray("1 2") << -1;
        QTest::newRow("prefix without digits") << QByteArray("0x") << -1;
        QTest::newRow("hex digit in decimal") << QByteArray("1f") << -1;
        QTest::newRow("bad hex digit") << QByteArray("$1g") << -1;
        QTest::newRow("above int range") << QByteArray("2147483648") << -1;
        QTest::newRow("far above int range") << QByteArray("99999999999999999999") << -1;
    }
    void readInteger() {
        QFETCH(QByteArray, value);
        QFETCH(int, expected);
        writeFile(iniPath(), "[Form]\r\nWaitSer=" + value + "\r\n");
        QCOMPARE(IniFile(iniPath()).readInteger("Form", "WaitSer", -1), expected);
    }

    void readBool_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("fallback");
        QTest::addColumn<bool>("expected");
        QTest::newRow("0 is false") << QByteArray("0") << true << false;
        QTest::newRow("1 is true") << QByteArray("1") << false << true;
        QTest::newRow("any other integer is true") << QByteArray("-3") << false << true;
        QTest::newRow("hexadecimal zero is false") << QByteArray("0x0") << true << false;
        QTest::newRow("word gives the default, false") << QByteArray("yes") << false << false;
        QTest::newRow("word gives the default, true") << QByteArray("no") << true << true;
        QTest::newRow("empty gives the default") << QByteArray("") << true << true;
    }
    void readBool() {
        QFETCH(QByteArray, value);
        QFETCH(bool, fallback);
        QFETCH(bool, expected);
        writeFile(iniPath(), "[Form]\r\nInicializace=" + value + "\r\n");
        QCOMPARE(IniFile(iniPath()).readBool("Form", "Inicializace", fallback), expected);
    }

    // Every line the program does not write comes back byte for byte, with its own line end.
    void writeKeepsOtherLines_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("CR LF file") << QByteArray("; settings\r\n[form]\r\n  TOP = 7\r\nWaitSer=500\r\n\r\n"
                                                  "[Language]\r\nButtons=Tla\xe8itka\r\n")
                                    << QByteArray(
                                           "; settings\r\n[form]\r\n  TOP =120\r\nWaitSer=500\r\nLeft=-30\r\n"
                                           "\r\n[Language]\r\nButtons=Tla\xe8itka\r\n[Help]\r\nList=a=b\r\n");
        QTest::newRow("LF file") << QByteArray("[Form]\nTop=7\n# note\n")
                                 << QByteArray("[Form]\nTop=120\nLeft=-30\n# note\n[Help]\nList=a=b\n");
        QTest::newRow("mixed line ends") << QByteArray("[Form]\nTop=7\r\n\n")
                                         << QByteArray("[Form]\nTop=120\r\nLeft=-30\n\n[Help]\nList=a=b\n");
        QTest::newRow("last line without line end") << QByteArray("[Form]\r\nTop=7")
                                                    << QByteArray("[Form]\r\nTop=120\r\nLeft=-30\r\n"
                                                                  "[Help]\r\nList=a=b\r\n");
        QTest::newRow("empty section")
            << QByteArray("[Form]\r\n[Help]\r\nList=old\r\n")
            << QByteArray("[Form]\r\nTop=120\r\nLeft=-30\r\n[Help]\r\nList=a=b\r\n");
        QTest::newRow("byte-order mark, its section found and the mark kept")
            << QByteArray("\xEF\xBB\xBF[Form]\r\nTop=7\r\n")
            << QByteArray("\xEF\xBB\xBF[Form]\r\nTop=120\r\nLeft=-30\r\n[Help]\r\nList=a=b\r\n");
    }
    void writeKeepsOtherLines() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        writeFile(iniPath(), before);
        IniFile ini(iniPath());
        ini.writeInteger("Form", "Top", 120);
        ini.writeInteger("FORM", "Left", -30);
        ini.writeString("Help", "List", "a=b");
        ini.save();
        QCOMPARE(fileData(iniPath()), after);
    }

    void newFileUsesCrLf() {
        IniFile ini(iniPath());
        ini.writeInteger("Form", "Top", 200);
        ini.writeBool("Form", "Inicializace", true);
        ini.writeString("Language", "Mo  Tu    We  Th     Fr    Sa    Su", "");
        ini.writeString("Form", "Left", "200");
        ini.save();
        QCOMPARE(fileData(iniPath()), QByteArray("[Form]\r\nTop=200\r\nInicializace=1\r\nLeft=200\r\n"
                                                 "[Language]\r\nMo  Tu    We  Th     Fr    Sa    Su=\r\n"));
    }

    void writesAreReadBeforeSave() {
        IniFile ini(iniPath());
        ini.writeString("Help", "Status", "x");
        ini.writeBool("Form", "Inicializace", false);
        QCOMPARE(ini.readString("help", "status", "d"), QByteArray("x"));
        QCOMPARE(ini.readBool("Form", "Inicializace", true), false);
        QVERIFY(!QFile::exists(iniPath()));
    }

    void saveWithoutChangesWritesNothing() {
        IniFile ini(iniPath());
        ini.save();
        QVERIFY(!QFile::exists(iniPath()));
    }

    void unstorableWriteRefused_data() {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("line break in value")
            << QByteArray("Help") << QByteArray("k") << QByteArray("a\r\n[Form]");
        QTest::newRow("line feed in value") << QByteArray("Help") << QByteArray("k") << QByteArray("a\nb");
        QTest::newRow("CR ending the value") << QByteArray("Help") << QByteArray("k") << QByteArray("ab\r");
        QTest::newRow("equals sign in key") << QByteArray("Help") << QByteArray("a=b") << QByteArray("v");
        QTest::newRow("key read as a comment") << QByteArray("Help") << QByteArray(";k") << QByteArray("v");
        QTest::newRow("bracket in section") << QByteArray("He]lp") << QByteArray("k") << QByteArray("v");
    }
    void unstorableWriteRefused() {
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, value);
        writeFile(iniPath(), "[Help]\r\nk=old\r\n");
        IniFile ini(iniPath());
        QVERIFY_THROWS_EXCEPTION(Failure, ini.writeString(section, key, value));
        ini.save();
        QCOMPARE(fileData(iniPath()), QByteArray("[Help]\r\nk=old\r\n"));
    }

    // A save that cannot complete throws, names the file and leaves what was there before.
    void failedSaveKeepsOldFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("path is a folder") << QStringLiteral("folder");
        QTest::newRow("folder is a file") << QStringLiteral("notFolder");
        QTest::newRow("disk full") << QStringLiteral("full");
        QTest::newRow("read-only folder") << QStringLiteral("readOnly");
    }
    void failedSaveKeepsOldFile() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QByteArray old = "[Form]\r\nTop=7\r\n";
        QString path = dir.filePath(QStringLiteral("ZUVovu.ini"));
        if (kind == "folder") {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("ZUVovu.ini")));
            writeFile(path + "/inside", old);
        } else if (kind == "notFolder") {
            writeFile(dir.filePath(QStringLiteral("bin")), old);
            path = dir.filePath(QStringLiteral("bin/ZUVovu.ini"));
        } else {
            writeFile(path, old);
        }

        IniFile ini(path);
        for (int i = 0; i < 200; ++i)
            ini.writeString("Language", "Key " + QByteArray::number(i), QByteArray(40, 'x'));

        std::optional<QString> failure;
        rlimit limits{};
        if (kind == "full") {
            // The file size limit makes every write past 1 KiB fail, as a full disk does.
            std::signal(SIGXFSZ, SIG_IGN);
            getrlimit(RLIMIT_FSIZE, &limits);
            const rlimit small{1024, limits.rlim_max};
            setrlimit(RLIMIT_FSIZE, &small);
        } else if (kind == "readOnly") {
            if (geteuid() == 0) QSKIP("root writes into read-only folders");
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        }
        try {
            ini.save();
        } catch (const Failure& error) {
            failure = error.text();
        }
        if (kind == "full") setrlimit(RLIMIT_FSIZE, &limits);
        if (kind == "readOnly")
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QVERIFY(failure);
        QVERIFY2(failure->contains(QDir::toNativeSeparators(path)), qPrintable(*failure));
        if (kind == "folder") {
            QCOMPARE(fileData(path + "/inside"), old);
        } else if (kind == "notFolder") {
            QCOMPARE(fileData(dir.filePath(QStringLiteral("bin"))), old);
        } else {
            QCOMPARE(fileData(path), old);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"ZUVovu.ini"});
        }
    }
    void strayCarriageReturns_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("CR CR LF") << QByteArray("[Language]\r\r\nTitle=Door\r\r\n") << QByteArray("Door");
        QTest::newRow("CR at the end of the file")
            << QByteArray("[Language]\r\nTitle=Door\r") << QByteArray("Door");
        QTest::newRow("CR CR CR LF") << QByteArray("[Language]\r\nTitle=Door\r\r\r\n") << QByteArray("Door");
        QTest::newRow("CR inside stays")
            << QByteArray("[Language]\r\nTitle=Do\ror\r\n") << QByteArray("Do\ror");
        QTest::newRow("CR at the start stays")
            << QByteArray("[Language]\r\nTitle=\rDoor\r\n") << QByteArray("\rDoor");
    }
    // Every value read is written back as it was: one that could not be would make every close fail.
    void strayCarriageReturns() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, value);
        writeFile(iniPath(), file);
        IniFile ini(iniPath());
        QCOMPARE(ini.readString("Language", "Title", "none"), value);
        ini.writeString("Language", "Title", ini.readString("Language", "Title", "none"));
        ini.writeInteger("Form", "Top", 5);
        ini.save();
        QCOMPARE(IniFile(iniPath()).readString("Language", "Title", "none"), value);
        QCOMPARE(IniFile(iniPath()).readInteger("Form", "Top", 0), 5);
    }

    void notARegularFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << QStringLiteral("fifo");
        QTest::newRow("link to /dev/zero") << QStringLiteral("zero");
    }
    // Neither blocks nor runs on when read; it reads as empty and is never replaced by a regular file.
    void notARegularFile() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ZUVovu.ini"));
        if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        IniFile ini(path);
        QCOMPARE(ini.readInteger("Form", "Top", 42), 42);
        ini.writeInteger("Form", "Top", 5);
        QString failure;
        try {
            ini.save();
        } catch (const Failure& error) {
            failure = error.text();
        }
        QVERIFY2(failure.contains(QStringLiteral("not a regular file")), qPrintable(failure));
        QVERIFY(!QFileInfo(path).isFile());
    }

    // The link stays; its target holds the settings.
    void linkedFileReplacesItsTarget() {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("real.ini"));
        writeFile(target, "[Form]\r\nTop=7\r\n");
        QVERIFY(QFile::link(target, iniPath()));
        IniFile ini(iniPath());
        QCOMPARE(ini.readInteger("Form", "Top", 0), 7);
        ini.writeInteger("Form", "Top", 9);
        ini.save();
        QVERIFY(QFileInfo(iniPath()).isSymLink());
        QCOMPARE(fileData(target), QByteArray("[Form]\r\nTop=9\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
