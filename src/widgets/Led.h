#pragma once

#include <QPixmap>
#include <QWidget>

// The receive LED: a lime circle without an outline.
class Led : public QWidget {
    Q_OBJECT
public:
    explicit Led(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {14, 14}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The LED's place in its group box. It draws what the group shows under it from a copy taken once, so that a
// blink repaints this small place alone and not the whole group around it.
class LedPlace : public QWidget {
    Q_OBJECT
public:
    explicit LedPlace(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent*) override { m_background = {}; }
    void resizeEvent(QResizeEvent*) override { m_background = {}; }
    // A new palette or style changes the group's look.
    void changeEvent(QEvent*) override { m_background = {}; }

private:
    QPixmap m_background;
};
