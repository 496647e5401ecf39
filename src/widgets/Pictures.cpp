#include "widgets/Pictures.h"

#include <QPainter>
#include <QSvgRenderer>

QPixmap picture(const QString& name, QSize size) {
    QSvgRenderer renderer(QStringLiteral(":/resources/pictures/%1.svg").arg(name));
    if (!renderer.isValid()) return {};
    if (size.isEmpty()) size = renderer.defaultSize();
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}
