#include "widgets/Pictures.h"

#include <QPainter>
#include <QSvgRenderer>

namespace {

QString picturePath(const QString& name) {
    return QStringLiteral(":/resources/pictures/%1.svg").arg(name);
}

} // namespace

QSize pictureSize(const QString& name) {
    const QSvgRenderer renderer(picturePath(name));
    return renderer.isValid() ? renderer.defaultSize() : QSize();
}

QPixmap picture(const QString& name, QSize size) {
    QSvgRenderer renderer(picturePath(name));
    if (!renderer.isValid()) return {};
    if (size.isEmpty()) size = renderer.defaultSize();
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}
