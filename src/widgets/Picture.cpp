#include "widgets/Picture.h"

#include "widgets/Pictures.h"

Picture::Picture(const QString& name, QWidget* parent, QSize size) : QLabel(parent) {
    setObjectName(name);
    const QPixmap pixmap = ::picture(name, size);
    setPixmap(pixmap);
    setFixedSize(pixmap.size());
}
