// Small window operations the main window and the wave windows share:
// bringing a window forward and the context menu over a window's view.
#pragma once

#include <functional>

class QContextMenuEvent;
class QMenu;
class QWidget;

namespace ui {

// Restores a minimised window, raises it and makes it the active one.
void BringWindowForward(QWidget* window);

// Opens the menu `build` makes at the click when the click lies inside
// `area`; false (nothing shown) for a click elsewhere.
bool PopupContextMenu(const QWidget& area, const QContextMenuEvent& event,
                      const std::function<QMenu*()>& build);

} // namespace ui
