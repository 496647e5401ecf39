#include "widgets/FieldHint.h"

#include <QEvent>
#include <QScreen>

namespace {
// Long enough to read two lines, short enough not to stand over the next field for long.
constexpr int ShownMs = 8000;
} // namespace

FieldHint::FieldHint(QWidget* window) : QLabel(window, Qt::ToolTip | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FieldHint"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setMaximumWidth(380);
    setMargin(4);
    setFrameShape(QFrame::Box);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    m_shown.setSingleShot(true);
    m_shown.setInterval(ShownMs);
    connect(&m_shown, &QTimer::timeout, this, &QWidget::hide);
}

void FieldHint::showBeside(QWidget* field, const QString& text) {
    if (m_field) m_field->removeEventFilter(this);
    m_field = field;
    field->installEventFilter(this);
    setText(text);
    adjustSize();
    QPoint at = field->mapToGlobal(QPoint(0, field->height() + 2));
    if (const QScreen* screen = field->screen()) {
        const QRect area = screen->availableGeometry();
        if (at.y() + height() > area.bottom()) at.setY(field->mapToGlobal(QPoint(0, 0)).y() - height() - 2);
        at.setX(qBound(area.left(), at.x(), qMax(area.left(), area.right() - width())));
    }
    move(at);
    show();
    m_shown.start();
}

bool FieldHint::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_field && (event->type() == QEvent::FocusOut || event->type() == QEvent::Hide)) hide();
    return false;
}
