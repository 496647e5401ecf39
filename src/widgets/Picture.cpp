#include "widgets/Picture.h"

#include "widgets/Pictures.h"

#include <QPainter>

Picture::Picture(const QString& name, QWidget* parent, QSize size) : QWidget(parent), m_name(name) {
    setObjectName(name);
    // A picture the resources lack takes no room.
    const QSize natural = pictureSize(name);
    setFixedSize(natural.isEmpty() ? QSize(0, 0) : size.isEmpty() ? natural : size);
}

void Picture::paintEvent(QPaintEvent*) {
    if (m_drawn.isNull()) m_drawn = picture(m_name, size());
    QPainter(this).drawPixmap(0, 0, m_drawn);
}
