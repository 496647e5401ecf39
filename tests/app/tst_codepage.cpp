#include "FormFixture.h"

#include "app/Caption.h"
#include "config/PhonebookEntry.h"
#include "core/Bytes.h"
#include "core/CodePage.h"
#include "core/Failure.h"
#include "files/PhoneBookList.h"
#include "service/UploadList.h"
#include "widgets/FieldHint.h"
#include "widgets/StatusPanels.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QtTest>

Q_DECLARE_METATYPE(const CodePage*)

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// Types the text key by key, as a keyboard of any language would (QTest::keyClicks knows only Latin-1).
void type(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_A, QString(c), Qt::NoModifier);
}

// A window started with the code page its settings file names.
struct Started {
    explicit Started(const QByteArray& codePage) {
        f.writeSettings("[Form]\r\nCodePage=" + codePage + "\r\n");
        f.form->run([this] { f.form->FormCreate(); });
    }
    FormFixture f{QStringLiteral("zuvovu"), false};
};

void addTexts() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Czech") << QByteArray("windows-1250") << QStringLiteral("Otevřené dveře: žluťoučký kůň")
                           << QByteArray("Otev\xf8"
                                         "en\xe9 dve\xf8"
                                         "e: \x9elu\x9dou\xe8k\xfd k\xf9\xf2");
    QTest::newRow("German") << QByteArray("windows-1252") << QStringLiteral("Tür öffnen: Grüße")
                            << QByteArray("T\xfcr \xf6"
                                          "ffnen: Gr\xfc\xdf"
                                          "e");
    QTest::newRow("Cyrillic") << QByteArray("windows-1251") << QStringLiteral("Дверь открыта")
                              << QByteArray("\xc4\xe2\xe5\xf0\xfc \xee\xf2\xea\xf0\xfb\xf2\xe0");
    QTest::newRow("euro, Central European")
        << QByteArray("windows-1250") << QStringLiteral("5 €") << QByteArray("5 \x80");
    QTest::newRow("euro, Cyrillic") << QByteArray("windows-1251") << QStringLiteral("5 €")
                                    << QByteArray("5 \x88");
    QTest::newRow("euro, Western") << QByteArray("windows-1252") << QStringLiteral("5 €")
                                   << QByteArray("5 \x80");
}

} // namespace

class TestCodePage : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setCodePage(CodePage::ofSystem()); }

    void texts_data() { addTexts(); }
    void texts() {
        QFETCH(QByteArray, page);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const CodePage* codePage = CodePage::named(page);
        QVERIFY(codePage);
        QCOMPARE(codePage->decode(bytes), text);
        QCOMPARE(codePage->encode(text), bytes);
    }

    // Whatever the unit or a file holds comes back unchanged, also bytes a code page leaves undefined.
    void everyByteComesBack_data() {
        QTest::addColumn<QByteArray>("page");
        for (const char* name : {"windows-1250", "windows-1251", "windows-1252"})
            QTest::newRow(name) << QByteArray(name);
    }
    void everyByteComesBack() {
        QFETCH(QByteArray, page);
        QByteArray all;
        for (int byte = 0; byte < 256; ++byte)
            all += char(byte);
        const CodePage* codePage = CodePage::named(page);
        const QString text = codePage->decode(all);
        QCOMPARE(QSet<QChar>(text.begin(), text.end()).size(), 256);
        QCOMPARE(codePage->encode(text), all);
    }

    void unheldCharacterIsNamed_data() {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("unheld");
        QTest::newRow("Cyrillic in Central European")
            << QByteArray("windows-1250") << QStringLiteral("Dveře Д") << QStringLiteral("Д");
        QTest::newRow("Czech in Western")
            << QByteArray("windows-1252") << QStringLiteral("Otevřené") << QStringLiteral("ř");
        QTest::newRow("Czech in Cyrillic")
            << QByteArray("cp1251") << QStringLiteral("dveře") << QStringLiteral("ř");
        QTest::newRow("outside the basic plane, whole")
            << QByteArray("1252") << QStringLiteral("ok \U0001F6AA") << QStringLiteral("\U0001F6AA");
    }
    void unheldCharacterIsNamed() {
        QFETCH(QByteArray, page);
        QFETCH(QString, text);
        QFETCH(QString, unheld);
        const CodePage* codePage = CodePage::named(page);
        QVERIFY(codePage);
        QCOMPARE(codePage->unheld(text), std::optional<QString>(unheld));
        try {
            codePage->encode(text);
            QFAIL("encoded with a replacement");
        } catch (const Failure& failure) {
            QVERIFY2(failure.text().contains(QLatin1Char('"') + unheld + QLatin1Char('"')),
                     qPrintable(failure.text()));
        }
    }

    void codePageOfALanguage_data() {
        QTest::addColumn<QLocale::Language>("language");
        QTest::addColumn<QLocale::Script>("script");
        QTest::addColumn<QByteArray>("page");
        QTest::newRow("Czech") << QLocale::Czech << QLocale::LatinScript << QByteArray("windows-1250");
        QTest::newRow("Polish") << QLocale::Polish << QLocale::LatinScript << QByteArray("windows-1250");
        QTest::newRow("Russian") << QLocale::Russian << QLocale::CyrillicScript << QByteArray("windows-1251");
        QTest::newRow("Serbian, Cyrillic")
            << QLocale::Serbian << QLocale::CyrillicScript << QByteArray("windows-1251");
        QTest::newRow("Serbian, Latin")
            << QLocale::Serbian << QLocale::LatinScript << QByteArray("windows-1250");
        QTest::newRow("Tajik") << QLocale::Tajik << QLocale::CyrillicScript << QByteArray("windows-1251");
        QTest::newRow("Tajik, script not given")
            << QLocale::Tajik << QLocale::AnyScript << QByteArray("windows-1251");
        QTest::newRow("Uzbek, Cyrillic")
            << QLocale::Uzbek << QLocale::CyrillicScript << QByteArray("windows-1251");
        QTest::newRow("Uzbek, Latin") << QLocale::Uzbek << QLocale::LatinScript << QByteArray("windows-1252");
        QTest::newRow("Azerbaijani, Cyrillic")
            << QLocale::Azerbaijani << QLocale::CyrillicScript << QByteArray("windows-1251");
        QTest::newRow("Bosnian, Cyrillic")
            << QLocale::Bosnian << QLocale::CyrillicScript << QByteArray("windows-1251");
        QTest::newRow("Bosnian, Latin")
            << QLocale::Bosnian << QLocale::LatinScript << QByteArray("windows-1250");
        QTest::newRow("German") << QLocale::German << QLocale::LatinScript << QByteArray("windows-1252");
        QTest::newRow("English") << QLocale::English << QLocale::LatinScript << QByteArray("windows-1252");
    }
    void codePageOfALanguage() {
        QFETCH(QLocale::Language, language);
        QFETCH(QLocale::Script, script);
        QTEST(CodePage::forLanguage(language, script).name().toByteArray(), "page");
    }

    void names_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("page");
        QTest::newRow("as written") << QByteArray("windows-1250") << QByteArray("windows-1250");
        QTest::newRow("capitals and blanks") << QByteArray(" Windows-1251 ") << QByteArray("windows-1251");
        QTest::newRow("cp") << QByteArray("CP1252") << QByteArray("windows-1252");
        QTest::newRow("number") << QByteArray("1250") << QByteArray("windows-1250");
        QTest::newRow("unknown") << QByteArray("UTF-8") << QByteArray();
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void names() {
        QFETCH(QByteArray, name);
        const CodePage* page = CodePage::named(name);
        QTEST(page ? page->name().toByteArray() : QByteArray(), "page");
    }

    // Received from the unit, shown, saved to a file and loaded again: the same letters, the same bytes.
    void throughUnitAndFile_data() { addTexts(); }
    void throughUnitAndFile() {
        QFETCH(QByteArray, page);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        Started started(page);
        FormFixture& f = started.f;
        f.form->engine.listed(PhonebookEntry::parse("+CPBR: 22,\"" + bytes + "\",129,\"ALARMON\""));
        QCOMPARE(f.form->ALARMON->text(), text);
        type(f.form->ALARMOFF, text);
        QCOMPARE(f.form->ALARMOFF->text(), text);
        const QString path = f.path(QStringLiteral("unit.oru"));
        f.dialogs.saveAnswers << path;
        f.form->Save->click();
        QVERIFY(readFile(path).contains("\r\nALARMON=" + bytes + "\r\nALARMOFF=" + bytes + "\r\n"));
        f.form->ALARMON->clear();
        f.dialogs.openAnswers << path;
        f.form->Load->click();
        QCOMPARE(f.form->ALARMON->text(), text);
        QCOMPARE(f.dialogs.errors, QStringList());
    }

    // Typing goes on past a refused letter: the field keeps what it held and takes the next keys, and the
    // refusal is a note, not a box that would take them.
    void typingGoesOnPastARefusedLetter_data() {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("refused");
        QTest::newRow("Cyrillic into an alarm text") << QByteArray("windows-1250") << "ALARMON"
                                                     << QStringLiteral("okД") << "ok" << QStringLiteral("Д");
        QTest::newRow("Czech into the list")
            << QByteArray("windows-1252") << "List" << QStringLiteral("Tří.pyo") << QStringLiteral("Tí.pyo")
            << QStringLiteral("ř");
        QTest::newRow("Czech into a search") << QByteArray("windows-1251") << "FindN"
                                             << QStringLiteral("Jiřka") << "Jika" << QStringLiteral("ř");
    }
    void typingGoesOnPastARefusedLetter() {
        QFETCH(QByteArray, page);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(QString, refused);
        Started started(page);
        FormFixture& f = started.f;
        QWidget* widget = f.form->findChild<QWidget*>(field);
        QVERIFY(widget);
        type(widget, typed);
        const QString held = field == QStringLiteral("List") ? f.form->List->toPlainText()
                                                             : static_cast<QLineEdit*>(widget)->text();
        QCOMPARE(held, kept);
        QCOMPARE(f.dialogs.errors, QStringList());
        const auto* hint = f.form->findChild<FieldHint*>();
        QVERIFY(hint->isVisible());
        QVERIFY2(hint->text().contains(QLatin1Char('"') + refused + QLatin1Char('"')),
                 qPrintable(hint->text()));
        QVERIFY2(hint->text().contains(QString::fromLatin1(page)), qPrintable(hint->text()));
    }

    // Captions made on a machine of that language show its letters and are written back as they were.
    void captionsInTheCodePage() {
        const QByteArray settings =
            "[Form]\r\nCodePage=windows-1251\r\n[Language]\r\nRun=\xcf\xf3\xf1\xea\r\n";
        FormFixture f{QStringLiteral("zuvovu"), false};
        f.writeSettings(settings);
        f.form->run([&f] { f.form->FormCreate(); });
        QCOMPARE(caption(f.form->RunORU), QStringLiteral("Пуск"));
        f.form->run([&f] { f.form->FormClose(); });
        QVERIFY(readFile(f.settingsPath()).contains("\r\nRun=\xcf\xf3\xf1\xea\r\n"));
        QCOMPARE(f.dialogs.errors, QStringList());
    }

    // A key on a button or a read-only text puts nothing anywhere: nothing to refuse.
    void keysOutsideFieldsPassUnremarked() {
        Started started("windows-1250");
        FormFixture& f = started.f;
        type(f.form->Save, QStringLiteral("Д"));
        type(f.form->Monitor, QStringLiteral("Д"));
        QCOMPARE(f.dialogs.errors, QStringList());
        QVERIFY(!f.form->findChild<FieldHint*>()->isVisible());
    }

    // The name as typed is the file system's own name, whatever the code page.
    void accentedFileNameInTheList() {
        Started started("windows-1250");
        FormFixture& f = started.f;
        const QString name = QStringLiteral("dveře.pyo");
        QFile file(f.path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("print(1)\r\n");
        file.close();
        type(f.form->List, f.path(name));
        QCOMPARE(f.form->ReadListedFile(0), 10);
        QCOMPARE(f.form->state.uploadPayload, QByteArray("print(1)\r\n"));
        QCOMPARE(f.dialogs.errors, QStringList());
    }

    // The choice in the window is the settings file's, kept for the next start; the texts of this one
    // stay in the code page they were read in.
    void chosenCodePageTakesEffectAtTheNextStart() {
        Started started("windows-1252");
        FormFixture& f = started.f;
        QCOMPARE(f.form->CodePageChoice->currentText(), QStringLiteral("windows-1252 (Western)"));
        f.form->CodePageChoice->setCurrentIndex(0);
        emit f.form->CodePageChoice->activated(0);
        QCOMPARE(&codePage(), &CodePage::Windows1252);
        QVERIFY2(f.form->StatusBar1->currentMessage().contains(QStringLiteral("windows-1250")),
                 qPrintable(f.form->StatusBar1->currentMessage()));
        f.form->run([&f] { f.form->FormClose(); });
        QVERIFY(readFile(f.settingsPath()).contains("\r\nCodePage=windows-1250\r\n"));

        TForm1 next(f.port, f.pacer, f.dialogs, QStringLiteral("zuvovu"), f.settingsPath());
        next.run([&next] { next.FormCreate(); });
        QCOMPARE(&codePage(), &CodePage::Windows1250);
        QCOMPARE(next.CodePageChoice->currentText(), QStringLiteral("windows-1250 (Central European)"));
        type(next.ALARMON, QStringLiteral("Řezníček"));
        QCOMPARE(next.ALARMON->text(), QStringLiteral("Řezníček"));
        QCOMPARE(f.dialogs.errors, QStringList());
    }

    void unknownCodePageIsReported() {
        Started started("UTF-8");
        QCOMPARE(started.f.dialogs.errors.size(), 1);
        QVERIFY2(started.f.dialogs.errors[0].contains(QStringLiteral("\"UTF-8\"")),
                 qPrintable(started.f.dialogs.errors[0]));
        QCOMPARE(&codePage(), &CodePage::ofSystem());
    }
};

QTEST_MAIN(TestCodePage)
#include "tst_codepage.moc"
