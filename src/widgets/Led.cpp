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

LedPlace::LedPlace(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LedPlace::paintEvent(QPaintEvent*) {
    if (m_background.isNull()) {
        const qreal ratio = devicePixelRatioF();
        m_background = QPixmap(size() * ratio);
        m_background.setDevicePixelRatio(ratio);
        // The group alone, without the LED or anything else on it.
        parentWidget()->render(&m_background, {}, QRegion(geometry()), QWidget::DrawWindowBackground);
    }
    QPainter(this).drawPixmap(0, 0, m_background);
}
