#include "config/PastedNumber.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

namespace {

// Pastes by the keyboard, by the context menu and by the middle button (the X11 selection), and text
// dropped from elsewhere.
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
        case QEvent::Drop:
            return drop(static_cast<QDropEvent*>(event));
        default:
            return false;
        }
    }

private:
    void insert(const QString& text) { m_edit->insert(withoutNumberSeparators(text)); }
    void paste(QClipboard::Mode mode) { insert(QGuiApplication::clipboard()->text(mode)); }

    // The edit's own menu, its Paste action turned to this one. The action is known by the slot it is
    // connected to, which it has in every Qt version, by name or by pointer, rather than by an object
    // name only some versions give it.
    void showMenu(const QPoint& at) {
        QMenu* menu = m_edit->createStandardContextMenu();
        for (QAction* action : menu->actions())
            if (QObject::disconnect(action, SIGNAL(triggered()), m_edit, SLOT(paste())) ||
                QObject::disconnect(action, &QAction::triggered, m_edit, &QLineEdit::paste))
                connect(action, &QAction::triggered, this, [this] { paste(QClipboard::Clipboard); });
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(at);
    }

    // A move of the edit's own text within it is the edit's business: that text is clean already.
    bool drop(QDropEvent* event) {
        if (event->source() == m_edit || !event->mimeData()->hasText()) return false;
        m_edit->setCursorPosition(m_edit->cursorPositionAt(event->position().toPoint()));
        insert(event->mimeData()->text());
        event->acceptProposedAction();
        return true;
    }

    QLineEdit* m_edit;
};

bool isSeparator(QChar c) {
    return c.isSpace() || c.category() == QChar::Punctuation_Dash || QStringView(u"./()[]").contains(c);
}

} // namespace

QString withoutNumberSeparators(const QString& text) {
    QString kept;
    for (const QChar c : text)
        if (!isSeparator(c)) kept += c;
    return kept;
}

void cleanPastedNumbers(QLineEdit* edit) {
    edit->installEventFilter(new PasteCleaner(edit));
}
