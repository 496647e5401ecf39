#include "app/TypedText.h"

#include "core/Bytes.h"
#include "core/UserDialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

namespace {

class UnheldCharacterFilter : public QObject {
public:
    UnheldCharacterFilter(QWidget& window, UserDialogs& dialogs)
        : QObject(&window), m_window(window), m_dialogs(dialogs) {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject* target, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(target);
        if (!widget || !m_window.isAncestorOf(widget) || !takesText(widget)) return false;
        const std::optional<QString> unheld = codePage().unheld(incomingText(event));
        if (!unheld) return false;
        m_dialogs.reportError(QStringLiteral("%1: the code page %2 has no character \"%3\"; it was not taken")
                                  .arg(fieldName(widget), QString::fromLatin1(codePage().name()), *unheld));
        return true;
    }

private:
    // A field the user can type into; keys on buttons, trees and read-only texts put nothing anywhere.
    static bool takesText(const QWidget* widget) {
        if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) return !edit->isReadOnly();
        if (const auto* memo = qobject_cast<const QPlainTextEdit*>(widget)) return !memo->isReadOnly();
        if (const auto* view = qobject_cast<const QAbstractItemView*>(widget))
            return view->editTriggers() != QAbstractItemView::NoEditTriggers;
        return false;
    }

    // What the event would put into a field.
    static QString incomingText(QEvent* event) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Paste)) return QApplication::clipboard()->text();
            return key->text();
        }
        case QEvent::InputMethod:
            return static_cast<QInputMethodEvent*>(event)->commitString();
        default:
            return {};
        }
    }

    // The field's own name, or that of the control it belongs to: a cell editor of a list has none, and
    // the list's viewport only Qt's own.
    static QString fieldName(const QWidget* widget) {
        while ((widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_"))) &&
               widget->parentWidget())
            widget = widget->parentWidget();
        return widget->objectName();
    }

    QWidget& m_window;
    UserDialogs& m_dialogs;
};

} // namespace

void refuseUnheldCharacters(QWidget& window, UserDialogs& dialogs) {
    new UnheldCharacterFilter(window, dialogs);
}
