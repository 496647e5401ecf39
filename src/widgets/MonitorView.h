#pragma once

#include <QByteArray>
#include <QWidget>

class QPlainTextEdit;

// The monitor log. Every line of the serial dialogue is kept, compactly as bytes, so that a long session
// stays small and Save Log still writes all of it; the view shows the newest lines and takes them in
// one batch per turn of the event loop, only while it is shown. Like a terminal it follows the end
// while it is at the end, stays put while scrolled up, and Ctrl+End (or End) goes to the end.
class MonitorView : public QWidget {
    Q_OBJECT
public:
    // The view keeps this many of the newest lines; the log keeps every line.
    static constexpr int ShownLines = 10000;

    explicit MonitorView(QWidget* parent);

    void appendLine(const QByteArray& line);
    void clear();
    // Every line, each ended by "\n", in order.
    const QByteArray& lines() const { return m_text; }
    // The whole log as the view would give it: the lines joined by "\n".
    QString toPlainText() const;
    QPlainTextEdit* view() const { return m_view; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void queueShow();
    void showNewLines();
    void scrollToEnd();

    QByteArray m_text;
    qsizetype m_lineCount = 0;
    // How much of m_text the view holds: up to this byte, this many lines.
    qsizetype m_shownBytes = 0;
    qsizetype m_shownLineCount = 0;
    bool m_queued = false;
    bool m_follows = true;
    bool m_adjusting = false;
    QPlainTextEdit* m_view;
};
