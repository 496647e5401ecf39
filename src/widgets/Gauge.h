#pragma once

#include <QColor>
#include <QWidget>

// A horizontal bar from 0 to its maximum with a foreground and a background colour and no text.
class Gauge : public QWidget {
    Q_OBJECT
public:
    explicit Gauge(QWidget* parent = nullptr);
    int maximum() const { return m_maximum; }
    void setMaximum(int maximum);
    int progress() const { return m_progress; }
    // Clamped into 0 … maximum.
    void setProgress(int progress);
    QColor foreColor() const { return m_fore; }
    void setForeColor(const QColor& color);
    QColor backColor() const { return m_back; }
    void setBackColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_maximum = 100;
    int m_progress = 0;
    QColor m_fore = Qt::black;
    QColor m_back = Qt::white;
};
