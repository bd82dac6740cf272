// The program's pictures as icons and pixmaps for widgets, drawn from the
// SVG files of the artwork folder at the size they are shown.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace ui {

// A transparent pixmap when the picture is missing or unreadable.
QPixmap ArtworkPixmap(unsigned id, QSize size, qreal devicePixelRatio = 1.0);
// The picture at its size and at twice it, for high-density screens.
QIcon ArtworkIcon(unsigned id, QSize size);

} // namespace ui
