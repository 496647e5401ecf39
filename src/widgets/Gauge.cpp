#include "widgets/Gauge.h"

#include <QPainter>
#include <algorithm>

Gauge::Gauge(QWidget* parent) : QWidget(parent) {}

void Gauge::setMaximum(int maximum) {
    m_maximum = std::max(0, maximum);
    setProgress(m_progress);
}

void Gauge::setProgress(int progress) {
    m_progress = std::clamp(progress, 0, m_maximum);
    update();
}

void Gauge::setForeColor(const QColor& color) {
    m_fore = color;
    update();
}

void Gauge::setBackColor(const QColor& color) {
    m_back = color;
    update();
}

void Gauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(area, m_back);
    if (m_maximum > 0 && m_progress > 0) {
        QRect filled = area;
        filled.setWidth(area.width() * m_progress / m_maximum);
        painter.fillRect(filled, m_fore);
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(area);
}
