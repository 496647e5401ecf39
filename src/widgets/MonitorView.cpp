#include "widgets/MonitorView.h"

#include "core/Bytes.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

MonitorView::MonitorView(QWidget* parent) : QWidget(parent), m_view(new QPlainTextEdit(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setMaximumBlockCount(ShownLines);
    m_view->installEventFilter(this);

    QScrollBar* bar = m_view->verticalScrollBar();
    // A scroll of the user's decides whether the view follows; a longer text or another size keeps a
    // following view at its end.
    connect(bar, &QScrollBar::valueChanged, this, [this, bar](int value) {
        if (!m_adjusting) m_follows = value >= bar->maximum();
    });
    connect(bar, &QScrollBar::rangeChanged, this, [this] {
        if (m_follows) scrollToEnd();
    });
}

void MonitorView::appendLine(const QByteArray& line) {
    m_text += line;
    m_text += '\n';
    m_lineCount += 1 + line.count('\n');
    queueShow();
}

void MonitorView::clear() {
    m_text.clear();
    m_lineCount = 0;
    m_shownBytes = 0;
    m_shownLineCount = 0;
    m_view->clear();
    m_follows = true;
}

QString MonitorView::toPlainText() const {
    return fromBytes(m_text.chopped(m_text.isEmpty() ? 0 : 1));
}

void MonitorView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    showNewLines();
}

bool MonitorView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_End && key->modifiers() == Qt::ControlModifier) {
            m_follows = true;
            scrollToEnd();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MonitorView::queueShow() {
    // A hidden view is brought up to date when it is shown.
    if (m_queued || !isVisible()) return;
    m_queued = true;
    QMetaObject::invokeMethod(this, &MonitorView::showNewLines, Qt::QueuedConnection);
}

void MonitorView::showNewLines() {
    m_queued = false;
    if (m_shownBytes == m_text.size()) return;
    QScrollBar* bar = m_view->verticalScrollBar();
    const int top = bar->value();
    const int blocksBefore = m_view->document()->isEmpty() ? 0 : m_view->document()->blockCount();

    m_adjusting = true;
    qsizetype from = m_shownBytes;
    const qsizetype added = m_lineCount - m_shownLineCount;
    if (added >= ShownLines) {
        // Only the newest lines would stay: start afresh from them.
        from = m_text.size() - 1;
        for (int n = 0; n < ShownLines && from > 0; ++n)
            from = m_text.lastIndexOf('\n', from - 1);
        from = from < 0 ? 0 : from + 1;
        m_view->clear();
    }
    m_view->appendPlainText(fromBytes(m_text.mid(from, m_text.size() - from - 1)));
    m_shownBytes = m_text.size();
    m_shownLineCount = m_lineCount;
    if (m_follows) {
        scrollToEnd();
    } else {
        // The lines that made room for the new ones went from the top: the view keeps showing the same text.
        const qsizetype removed = blocksBefore + added - m_view->document()->blockCount();
        bar->setValue(static_cast<int>(std::max<qsizetype>(0, top - removed)));
    }
    m_adjusting = false;
}

void MonitorView::scrollToEnd() {
    const bool adjusting = std::exchange(m_adjusting, true);
    m_view->verticalScrollBar()->setValue(m_view->verticalScrollBar()->maximum());
    m_adjusting = adjusting;
}
