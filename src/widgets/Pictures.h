#pragma once

#include <QPixmap>
#include <QString>

// Renders the named picture of the program's resources; an empty pixmap when there is none.
QPixmap picture(const QString& name, QSize size = {});
// The named picture's natural size; an empty size when there is none.
QSize pictureSize(const QString& name);
