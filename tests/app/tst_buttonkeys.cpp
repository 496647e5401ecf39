#include "FormFixture.h"
#include "app/ButtonKeys.h"

#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QtTest>

// The main buttons' keys press them only while they can be pressed, and their tooltips name the keys.
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
};

QTEST_MAIN(TestButtonKeys)
#include "tst_buttonkeys.moc"
