#include "ui/dialogs/DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <limits>

namespace ui {

namespace {

long long Area(const QRect& rect) {
    return rect.isEmpty() ? 0 : static_cast<long long>(rect.width()) * rect.height();
}

long long DistanceSquared(const QRect& screen, QPoint point) {
    const long long dx = std::max({0, screen.left() - point.x(), point.x() - screen.right()});
    const long long dy = std::max({0, screen.top() - point.y(), point.y() - screen.bottom()});
    return dx * dx + dy * dy;
}

int ClampStart(int wanted, int length, int areaStart, int areaLength) {
    // A window larger than the screen keeps its top or left edge visible.
    if (length >= areaLength) {
        return areaStart;
    }
    return std::clamp(wanted, areaStart, areaStart + areaLength - length);
}

} // namespace

QPoint PlaceOnScreen(QPoint wanted, QSize size, const QList<QRect>& screens) {
    const QRect window(wanted, size);
    const QRect* best = nullptr;
    long long bestArea = 0;
    for (const QRect& screen : screens) {
        const long long shown = Area(screen.intersected(window));
        if (shown > bestArea) {
            best = &screen;
            bestArea = shown;
        }
    }
    if (best == nullptr) {
        long long nearest = std::numeric_limits<long long>::max();
        for (const QRect& screen : screens) {
            const long long distance = DistanceSquared(screen, window.center());
            if (!screen.isEmpty() && distance < nearest) {
                best = &screen;
                nearest = distance;
            }
        }
    }
    if (best == nullptr) {
        return wanted;
    }
    return {ClampStart(wanted.x(), size.width(), best->left(), best->width()),
            ClampStart(wanted.y(), size.height(), best->top(), best->height())};
}

void MoveOnScreen(QWidget* window, QPoint wanted) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens.push_back(screen->availableGeometry());
    }
    window->move(PlaceOnScreen(wanted, window->frameGeometry().size(), screens));
}

} // namespace ui
