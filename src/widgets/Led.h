#pragma once

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
