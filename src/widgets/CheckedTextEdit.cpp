#include "widgets/CheckedTextEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

bool CheckedTextEdit::refuses(const QString& incoming) {
    return !isReadOnly() && !incoming.isEmpty() && m_check && m_check(this, incoming);
}

// A paste by the keyboard reaches insertFromMimeData like every other.
void CheckedTextEdit::keyPressEvent(QKeyEvent* event) {
    if (!event->matches(QKeySequence::Paste) && refuses(event->text())) return event->accept();
    QPlainTextEdit::keyPressEvent(event);
}

void CheckedTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (refuses(event->commitString())) return event->accept();
    QPlainTextEdit::inputMethodEvent(event);
}

void CheckedTextEdit::insertFromMimeData(const QMimeData* source) {
    if (source->hasText() && refuses(source->text())) return;
    QPlainTextEdit::insertFromMimeData(source);
}
