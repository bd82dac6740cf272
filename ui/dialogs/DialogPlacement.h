// Where a dialog opens when a caller names the place: there, but moved as
// little as needed to lie wholly on a screen, so a stored position from
// another monitor setup never opens a dialog nobody can see.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace ui {

// The top-left corner nearest to `wanted` at which a window of `size` lies
// inside one of the screens' available areas: the screen that shows most of
// it, else the one nearest to it. With no screen, `wanted` itself.
QPoint PlaceOnScreen(QPoint wanted, QSize size, const QList<QRect>& screens);

// Moves the window (its frame's top-left corner) there on this desktop's
// screens.
void MoveOnScreen(QWidget* window, QPoint wanted);

} // namespace ui
