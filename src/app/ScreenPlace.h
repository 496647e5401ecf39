#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// Where a window goes so that it can be seen: it stays while its title bar can be grabbed on a screen;
// otherwise it moves onto the screen it overlaps most, or else the nearest one, as far inside as its
// size allows. A stored position may come from a monitor that is gone or from another scale factor.
QPoint placeOnScreens(const QRect& window, const QList<QRect>& screens);
// The areas of the screens that windows may use.
QList<QRect> screenAreas();
