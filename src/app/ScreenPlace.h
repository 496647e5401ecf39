#pragma once

#include <QList>
#include <QMargins>
#include <QRect>

// Where a window goes and how large it is, so that it can be seen whole: on the screen it overlaps most, or
// else the nearest one, wholly inside that screen's area with its frame, shrunk to that area where it is
// larger (its controls then scroll). A stored position may come from a monitor that is gone or from another
// scale factor.
QRect fitOnScreens(const QRect& window, const QList<QRect>& screens, const QMargins& frame);
// The areas of the screens that windows may use.
QList<QRect> screenAreas();
