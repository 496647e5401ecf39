#include "app/ScreenPlace.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace {

qint64 overlap(const QRect& a, const QRect& b) {
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : qint64(both.width()) * both.height();
}

qint64 squaredGap(const QRect& a, const QRect& b) {
    const qint64 dx = std::max({0, b.left() - a.right(), a.left() - b.right()});
    const qint64 dy = std::max({0, b.top() - a.bottom(), a.top() - b.bottom()});
    return dx * dx + dy * dy;
}

int inside(int position, int length, int start, int available) {
    return std::clamp(position, start, std::max(start, start + available - length));
}

} // namespace

QRect fitOnScreens(const QRect& window, const QList<QRect>& screens, const QMargins& frame) {
    if (screens.isEmpty()) return window;
    const QRect target =
        *std::min_element(screens.begin(), screens.end(), [&window](const QRect& a, const QRect& b) {
            const qint64 overlapA = overlap(window, a), overlapB = overlap(window, b);
            if (overlapA != overlapB) return overlapA > overlapB;
            return squaredGap(window, a) < squaredGap(window, b);
        });
    const QRect room = target.marginsRemoved(frame);
    const QSize size = window.size().boundedTo(room.size()).expandedTo({1, 1});
    return {QPoint(inside(window.x(), size.width(), room.x(), room.width()),
                   inside(window.y(), size.height(), room.y(), room.height())),
            size};
}

QList<QRect> screenAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}
