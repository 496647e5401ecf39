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

// The top edge of a window's frame holds its title bar: while enough of that lies on a screen, the
// user can drag the window wherever it is wanted.
bool canBeGrabbed(const QRect& window, const QRect& screen) {
    constexpr int GripHeight = 30;
    constexpr int GripWidth = 120;
    const QRect seen = QRect(window.topLeft(), QSize(window.width(), GripHeight)).intersected(screen);
    return seen.height() >= std::min(GripHeight, window.height()) &&
           seen.width() >= std::min(GripWidth, window.width());
}

int inside(int position, int length, int start, int available) {
    return std::clamp(position, start, std::max(start, start + available - length));
}

} // namespace

QPoint placeOnScreens(const QRect& window, const QList<QRect>& screens) {
    if (screens.isEmpty()) return window.topLeft();
    for (const QRect& screen : screens)
        if (canBeGrabbed(window, screen)) return window.topLeft();
    const QRect target =
        *std::min_element(screens.begin(), screens.end(), [&window](const QRect& a, const QRect& b) {
            const qint64 overlapA = overlap(window, a), overlapB = overlap(window, b);
            if (overlapA != overlapB) return overlapA > overlapB;
            return squaredGap(window, a) < squaredGap(window, b);
        });
    return {inside(window.x(), window.width(), target.x(), target.width()),
            inside(window.y(), window.height(), target.y(), target.height())};
}

QList<QRect> screenAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}
