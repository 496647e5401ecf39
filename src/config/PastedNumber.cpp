#include "config/PastedNumber.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

namespace {

// Pastes by the keyboard, by the context menu and by the middle button (the X11 selection).
class PasteCleaner : public QObject {
public:
    explicit PasteCleaner(QLineEdit* edit) : QObject(edit), m_edit(edit) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (m_edit->isReadOnly()) return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            if (!static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) return false;
            paste(QClipboard::Clipboard);
            return true;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton ||
                !QGuiApplication::clipboard()->supportsSelection())
                return false;
            paste(QClipboard::Selection);
            return true;
        case QEvent::ContextMenu:
            showMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        default:
            return false;
        }
    }

private:
    void paste(QClipboard::Mode mode) {
        m_edit->insert(withoutNumberSeparators(QGuiApplication::clipboard()->text(mode)));
    }
    void showMenu(const QPoint& at) {
        QMenu* menu = m_edit->createStandardContextMenu();
        if (auto* pasteAction = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
            pasteAction->disconnect();
            connect(pasteAction, &QAction::triggered, this, [this] { paste(QClipboard::Clipboard); });
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(at);
    }

    QLineEdit* m_edit;
};

} // namespace

QString withoutNumberSeparators(const QString& text) {
    QString kept;
    for (const QChar c : text)
        if (!c.isSpace() && !QStringView(u"-./()[]").contains(c)) kept += c;
    return kept;
}

void cleanPastedNumbers(QLineEdit* edit) {
    edit->installEventFilter(new PasteCleaner(edit));
}
