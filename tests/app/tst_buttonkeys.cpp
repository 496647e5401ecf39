#include "FormFixture.h"
#include "app/ButtonKeys.h"
#include "app/Caption.h"

#include <QFile>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QtTest>

// The main buttons' keys press them only while they can be pressed, and their tooltips name the keys.
// Their mnemonics are shown only: the captions written back to the settings file stay as they were.
class TestButtonKeys : public QObject {
    Q_OBJECT
private slots:
    void keys_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("file save") << "Save" << QKeySequence(QKeySequence::Save) << true;
        QTest::newRow("file load") << "Load" << QKeySequence(QKeySequence::Open) << true;
        QTest::newRow("unit stop") << "StopORU" << QKeySequence(Qt::Key_F5) << true;
        QTest::newRow("unit run") << "RunORU" << QKeySequence(Qt::Key_F6) << true;
        QTest::newRow("unit save") << "SaveORU" << QKeySequence(Qt::Key_F9) << true;
        QTest::newRow("disabled button stays unpressed") << "SaveORU" << QKeySequence(Qt::Key_F9) << false;
    }
    void keys() {
        QFETCH(QString, button);
        QFETCH(QKeySequence, key);
        QFETCH(bool, enabled);
        FormFixture fixture;
        fixture.form->show();
        auto* target = fixture.form->findChild<QPushButton*>(button);
        QVERIFY(target);
        target->setEnabled(enabled);
        // The handler is not what is looked at here: whether the press reaches the button is.
        target->disconnect();
        QSignalSpy pressed(target, &QPushButton::clicked);
        QShortcut* shortcut = nullptr;
        for (QShortcut* candidate : fixture.form->findChildren<QShortcut*>())
            if (candidate->key() == key) shortcut = candidate;
        QVERIFY(shortcut);
        emit shortcut->activated();
        QCOMPARE(pressed.size(), enabled ? 1 : 0);
    }

    void tipNamesTheKey() {
        QCOMPARE(tipWithKey(QStringLiteral("Saving parameters to PC."), QKeySequence(Qt::Key_F9)),
                 QStringLiteral("Saving parameters to PC.  (F9)"));
        QCOMPARE(tipWithKey(QString(), QKeySequence(Qt::Key_F5)), QStringLiteral("F5"));
    }

    void markMnemonic_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("taken");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("takenAfter");
        const auto row = [](const char* name, const QString& caption, const QString& taken,
                            const QString& shown, const QString& takenAfter) {
            QTest::newRow(name) << caption << taken << shown << takenAfter;
        };
        row("first letter", "Stop", "", "&Stop", "S");
        row("next free letter, any case", "Save", "SA", "Sa&ve", "SAV");
        row("blanks and signs are passed", "- Run", "", "- &Run", "R");
        row("a plain ampersand is no mark", "Load && Save", "LOAD", "Load && &Save", "LOADS");
        row("own mark kept and taken", "Sa&ve", "", "Sa&ve", "V");
        row("own mark on a taken key", "&Run", "R", "&Run", "R");
        row("letters beyond Latin", "Пуск", "", "&Пуск", "П");
        row("digits", "1 button", "", "&1 button", "1");
        row("nothing free", "Go", "GO", "Go", "GO");
        row("empty", "", "", "", "");
    }
    void markMnemonic() {
        QFETCH(QString, caption);
        QFETCH(QString, taken);
        QFETCH(QString, shown);
        QFETCH(QString, takenAfter);
        QSet<QChar> keys(taken.begin(), taken.end());
        QCOMPARE(::markMnemonic(caption, keys), shown);
        QCOMPARE(keys, QSet<QChar>(takenAfter.begin(), takenAfter.end()));
    }

    // A translation that marks one caption itself: the others keep off its key, every button gets a key
    // of its own, and at close the file gets back exactly what it held.
    void mnemonicsDifferAndStayOutOfTheFile() {
        FormFixture fixture(QStringLiteral("zuvovu"), false);
        fixture.writeSettings("[Language]\r\nLoad=&Open\r\nRun=Start\r\n");
        fixture.form->FormCreate();
        const TForm1& form = *fixture.form;
        const std::pair<QPushButton*, QString> shown[] = {{form.StopORU, "&Stop"}, {form.RunORU, "S&tart"},
                                                          {form.SaveORU, "S&ave"}, {form.LoadORU, "&Open"},
                                                          {form.Save, "Sa&ve"},    {form.Load, "&Open"}};
        QSet<QKeySequence> keys;
        for (const auto& [button, text] : shown) {
            QCOMPARE(button->text(), text);
            keys.insert(button->shortcut());
        }
        // The two Load buttons share the key the translation gave them both.
        QCOMPARE(keys.size(), 5);
        QCOMPARE(form.Save->shortcut(), QKeySequence(Qt::ALT | Qt::Key_V));
        QCOMPARE(caption(form.SaveORU), QStringLiteral("Save"));
        fixture.form->close();
        QFile file(fixture.settingsPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        QVERIFY(written.startsWith("[Language]\r\nLoad=&Open\r\nRun=Start\r\n"));
        QVERIFY(written.contains("\r\nStop=Stop\r\n"));
        QVERIFY(written.contains("\r\nSave=Save\r\n"));
    }
};

QTEST_MAIN(TestButtonKeys)
#include "tst_buttonkeys.moc"
