#include "FormFixture.h"
#include "config/PastedNumber.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QtTest>

// A number pasted as it is written keeps its digits; the edit's filter still has the last word.
class TestPastedNumber : public QObject {
    Q_OBJECT
private slots:
    void paste_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("after");
        QTest::newRow("international number with blanks") << "ADMIN4"
                                                          << ""
                                                          << "+420 603 111 222"
                                                          << "+420603111222";
        QTest::newRow("brackets, dashes, dots and slashes") << "ABUTTON1"
                                                            << ""
                                                            << "(603) 111-222.3/4"
                                                            << "60311122234";
        QTest::newRow("square brackets, tab and line end") << "BBUTTON7"
                                                           << ""
                                                           << "[603]\t111\n222"
                                                           << "603111222";
        QTest::newRow("pasted after typed digits") << "ADMIN1"
                                                   << "+420"
                                                   << " 603 111"
                                                   << "+420603111";
        QTest::newRow("letters still stop the number") << "ADMIN2"
                                                       << ""
                                                       << "603 111 x 222"
                                                       << "603111";
        QTest::newRow("module number edit") << "MemoPNumber"
                                            << ""
                                            << "+420 603-111-222"
                                            << "+420603111222";
    }
    void paste() {
        QFETCH(QString, edit);
        QFETCH(QString, before);
        QFETCH(QString, pasted);
        FormFixture fixture;
        auto* target = fixture.form->findChild<QLineEdit*>(edit);
        QVERIFY(target);
        target->setText(before);
        target->setCursorPosition(target->text().size());
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keySequence(target, QKeySequence::Paste);
        QTEST(target->text(), "after");
    }
};

QTEST_MAIN(TestPastedNumber)
#include "tst_pastednumber.moc"
