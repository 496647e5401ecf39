#include "FormFixture.h"
#include "config/PastedNumber.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QtTest>

namespace {

// Paste as the user does: the keyboard, the edit's context menu, or a drop from another program.
void paste(QLineEdit* target, const QString& way, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    if (way == "key") {
        QTest::keySequence(target, QKeySequence::Paste);
    } else if (way == "menu") {
        QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(4, 4), target->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(target, &open);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        for (QAction* action : menu->actions())
            if (action->text().startsWith(QStringLiteral("&Paste"))) action->trigger();
        menu->close();
    } else if (way == "drop") {
        QMimeData dropped;
        dropped.setText(text);
        // A drop goes to the widget that took the drag when it entered.
        const QPoint at(target->width() - 4, 4);
        QDragEnterEvent enter(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    }
}

} // namespace

// A number pasted as it is written keeps its digits, whichever way it is pasted; the edit's filter
// still has the last word.
class TestPastedNumber : public QObject {
    Q_OBJECT
private slots:
    void paste_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("after");
        QTest::newRow("international number with blanks") << "ADMIN4"
                                                          << "key"
                                                          << ""
                                                          << "+420 603 111 222"
                                                          << "+420603111222";
        QTest::newRow("the same from the context menu") << "ADMIN4"
                                                        << "menu"
                                                        << ""
                                                        << "+420 603 111 222"
                                                        << "+420603111222";
        QTest::newRow("the same dropped") << "ADMIN4"
                                          << "drop"
                                          << ""
                                          << "+420 603 111 222"
                                          << "+420603111222";
        QTest::newRow("brackets, dashes, dots and slashes") << "ABUTTON1"
                                                            << "key"
                                                            << ""
                                                            << "(603) 111-222.3/4"
                                                            << "60311122234";
        QTest::newRow("en dashes and a non-breaking blank")
            << "ADMIN2"
            << "menu"
            << "" << QStringLiteral("603–111–222\u00a0333") << "603111222333";
        QTest::newRow("square brackets, tab and line end") << "BBUTTON7"
                                                           << "key"
                                                           << ""
                                                           << "[603]\t111\n222"
                                                           << "603111222";
        QTest::newRow("pasted after typed digits") << "ADMIN1"
                                                   << "key"
                                                   << "+420"
                                                   << " 603 111"
                                                   << "+420603111";
        QTest::newRow("letters still stop the number") << "ADMIN2"
                                                       << "key"
                                                       << ""
                                                       << "603 111 x 222"
                                                       << "603111";
        QTest::newRow("module number edit") << "MemoPNumber"
                                            << "menu"
                                            << ""
                                            << "+420 603-111-222"
                                            << "+420603111222";
    }
    void paste() {
        QFETCH(QString, edit);
        QFETCH(QString, way);
        QFETCH(QString, before);
        QFETCH(QString, pasted);
        FormFixture fixture;
        auto* target = fixture.form->findChild<QLineEdit*>(edit);
        QVERIFY(target);
        target->setText(before);
        target->setCursorPosition(target->text().size());
        ::paste(target, way, pasted);
        QTEST(target->text(), "after");
        QCOMPARE(fixture.dialogs.errors, QStringList());
    }
};

QTEST_MAIN(TestPastedNumber)
#include "tst_pastednumber.moc"
