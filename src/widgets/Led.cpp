#include "widgets/Led.h"

#include <QPainter>

Led::Led(QWidget* parent) : QWidget(parent) {
    setFixedSize(sizeHint());
}

void Led::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 255, 0));
    painter.drawEllipse(rect().adjusted(1, 1, -1, -1));
}
