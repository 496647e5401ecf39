#include "FormFixture.h"
#include "GuardedTestMain.h"

#include "core/Bytes.h"
#include "files/PhoneBookList.h"
#include "widgets/FieldHint.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>

namespace {

// A window on a code page that lacks the letter the user is about to enter.
struct Started {
    explicit Started(const QByteArray& page) {
        f.writeSettings("[Form]\r\nCodePage=" + page + "\r\n");
        f.form->run([this] { f.form->FormCreate(); });
        guardedApp().reportTo(&f.dialogs);
    }
    ~Started() {
        guardedApp().reportTo(nullptr);
        setCodePage(CodePage::ofSystem());
    }
    FieldHint* hint() const { return f.form->findChild<FieldHint*>(); }
    FormFixture f{QStringLiteral("zuvovu"), false};
};

// Where the text goes in: the control itself, a cell's editor, or a multi-line text's viewport.
QWidget* inner(QWidget* control, const QString& way) {
    if (auto* grid = qobject_cast<PhoneBookList*>(control)) {
        grid->setCurrentCell(0, 0);
        if (way == "key") return grid;
        grid->edit(grid->currentIndex());
        return grid->viewport()->findChild<QLineEdit*>();
    }
    if (auto* box = qobject_cast<QComboBox*>(control))
        return way == "key" ? static_cast<QWidget*>(box) : box->lineEdit();
    // The mouse's events go to a multi-line text's viewport.
    if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
        return way == "drop" || way == "menu" ? memo->viewport() : memo;
    return control;
}

QString textOf(QWidget* control) {
    if (auto* grid = qobject_cast<PhoneBookList*>(control)) {
        const auto* editor = grid->viewport()->findChild<QLineEdit*>();
        return editor ? editor->text() : grid->item(0, 0)->text();
    }
    if (auto* box = qobject_cast<QComboBox*>(control)) return box->currentText();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) return memo->toPlainText();
    return static_cast<QLineEdit*>(control)->text();
}

void pasteFromTheMenu(QWidget* target) {
    QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(4, 4), target->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(target, &open);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QAction* paste = nullptr;
    for (QAction* action : menu->actions())
        if (action->text().startsWith(QStringLiteral("&Paste"))) paste = action;
    QVERIFY(paste);
    paste->trigger();
    menu->close();
}

void enter(QWidget* target, const QString& way, const QString& text) {
    QApplication::clipboard()->setText(text);
    if (way == "key") {
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_A, text, Qt::NoModifier);
    } else if (way == "Ctrl+V") {
        QTest::keySequence(target, QKeySequence::Paste);
    } else if (way == "menu") {
        pasteFromTheMenu(target);
    } else if (way == "drop") {
        QMimeData dropped;
        dropped.setText(text);
        // A drop goes to the widget that took the drag when it entered.
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    } else if (way == "input method") {
        QInputMethodEvent composed;
        composed.setCommitString(text);
        QApplication::sendEvent(target, &composed);
    }
}

} // namespace

// Every way text enters a field meets the same check; a refused letter loses nothing and asks nothing.
class TestTypedText : public QObject {
    Q_OBJECT
private slots:
    void refusedLetter_data() {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("entered");
        // What the note must say: the field's caption and where the letter is held.
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("holders");
        const QByteArray western = "windows-1252";
        const QString czech = QStringLiteral("Šárka Řezníčková");
        const QString central = QStringLiteral("windows-1250 (Central European) holds it");
        QTest::newRow("key, edit") << western << "ALARMON"
                                   << "key" << QStringLiteral("ř") << "SMS ALARM ON" << central;
        QTest::newRow("Ctrl+V, edit") << western << "ALARMOFF"
                                      << "Ctrl+V" << czech << "SMS ALARM OFF" << central;
        QTest::newRow("menu paste, edit") << western << "ALARMON"
                                          << "menu" << czech << "SMS ALARM ON" << central;
        QTest::newRow("menu paste, search") << western << "FindN"
                                            << "menu" << czech << "Find Name" << central;
        QTest::newRow("drop, edit") << western << "ALARMOFF"
                                    << "drop" << czech << "SMS ALARM OFF" << central;
        QTest::newRow("input method, edit")
            << western << "ALARMON"
            << "input method" << QStringLiteral("ř") << "SMS ALARM ON" << central;
        QTest::newRow("menu paste, number field")
            << western << "ADMIN4"
            << "menu" << QStringLiteral("+420 Ř") << "ADMIN4" << central;
        QTest::newRow("key, editable box") << western << "WaitBUF"
                                           << "key" << QStringLiteral("ř") << "Waiting to number" << central;
        QTest::newRow("Ctrl+V, editable box") << western << "PosMemo"
                                              << "Ctrl+V" << czech << "Position" << central;
        QTest::newRow("menu paste, editable box") << western << "M1Acces"
                                                  << "menu" << czech << "Access Number" << central;
        QTest::newRow("key, grid") << western << "PhoneBook1"
                                   << "key" << QStringLiteral("ř") << "Name (Phone Book)" << central;
        QTest::newRow("menu paste, grid editor") << western << "PhoneBook1"
                                                 << "menu" << czech << "Name (Phone Book)" << central;
        QTest::newRow("key, list") << western << "List"
                                   << "key" << QStringLiteral("ř") << "Service" << central;
        QTest::newRow("menu paste, list") << western << "List"
                                          << "menu" << czech << "Service" << central;
        QTest::newRow("drop, list") << western << "List"
                                    << "drop" << czech << "Service" << central;
        QTest::newRow("Cyrillic into Central European") << QByteArray("windows-1250") << "ALARMON"
                                                        << "key" << QStringLiteral("Д") << "SMS ALARM ON"
                                                        << QStringLiteral("windows-1251 (Cyrillic) holds it");
        QTest::newRow("a letter two code pages hold")
            << QByteArray("windows-1251") << "ALARMON"
            << "key" << QStringLiteral("é") << "SMS ALARM ON"
            << QStringLiteral("windows-1250 (Central European) or windows-1252 (Western) hold it");
        QTest::newRow("held by none") << western << "ALARMON"
                                      << "key" << QStringLiteral("\U0001F6AA") << "SMS ALARM ON"
                                      << QStringLiteral("No code page that this program knows");
    }
    void refusedLetter() {
        QFETCH(QByteArray, page);
        QFETCH(QString, field);
        QFETCH(QString, way);
        QFETCH(QString, entered);
        QFETCH(QString, caption);
        QFETCH(QString, holders);
        Started started(page);
        FormFixture& f = started.f;
        f.form->PhoneBook1->setText("Novak=603111222\r\n");
        auto* control = f.form->findChild<QWidget*>(field);
        QVERIFY(control);
        QWidget* target = inner(control, way);
        QVERIFY(target);
        if (auto* edit = qobject_cast<QLineEdit*>(target)) {
            edit->setText(edit->text().isEmpty() ? QStringLiteral("12") : edit->text());
            edit->setCursorPosition(1);
        }
        if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) memo->setPlainText(QStringLiteral("a.pyo"));
        const QString before = textOf(control);
        const auto* edit = qobject_cast<QLineEdit*>(target);
        const int cursor = edit ? edit->cursorPosition() : 0;

        enter(target, way, entered);

        QCOMPARE(textOf(control), before);
        if (edit && way != "drop") QCOMPARE(edit->cursorPosition(), cursor);
        // Neither a failure nor a box: the refusal is a note.
        QCOMPARE(f.dialogs.errors, QStringList());
        QVERIFY(started.hint()->isVisible());
        const QString note = started.hint()->text();
        const QString letter = codePage().unheld(entered).value_or(QString());
        QVERIFY2(note.contains('"' + letter + '"'), qPrintable(note));
        QVERIFY2(note.contains(QStringLiteral("into %1:").arg(caption)), qPrintable(note));
        QVERIFY2(note.contains(holders), qPrintable(note));
    }
};

GUARDED_TEST_MAIN(TestTypedText)
#include "tst_typedtext.moc"
