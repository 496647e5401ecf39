#include "widgets/Picture.h"

#include <QPainter>
#include <QSvgRenderer>

Picture::Picture(const QString& name, QWidget* parent, QSize size)
    : QWidget(parent),
      m_renderer(std::make_unique<QSvgRenderer>(QStringLiteral(":/resources/pictures/%1.svg").arg(name))) {
    setObjectName(name);
    if (!m_renderer->isValid()) {
        m_renderer.reset();
        setFixedSize(0, 0);
        return;
    }
    setFixedSize(size.isEmpty() ? m_renderer->defaultSize() : size);
}

Picture::~Picture() = default;

void Picture::paintEvent(QPaintEvent*) {
    if (m_drawn.isNull()) {
        if (!m_renderer) return;
        m_drawn = QPixmap(size());
        m_drawn.fill(Qt::transparent);
        QPainter painter(&m_drawn);
        m_renderer->render(&painter);
        // Drawn once, the description is no longer needed.
        painter.end();
        m_renderer.reset();
    }
    QPainter(this).drawPixmap(0, 0, m_drawn);
}
