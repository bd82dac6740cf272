// Small window operations the main window and the wave windows share:
// bringing a window forward, the context menu over a window's view and the
// toolbar of large labelled buttons.
#pragma once

#include <functional>
#include <span>

class QAction;
class QContextMenuEvent;
class QMainWindow;
class QMenu;
class QToolBar;
class QWidget;

namespace ui {

// Restores a minimised window, raises it and makes it the active one.
void BringWindowForward(QWidget* window);

// Opens the menu `build` makes at the click when the click lies inside
// `area`; false (nothing shown) for a click elsewhere.
bool PopupContextMenu(const QWidget& area, const QContextMenuEvent& event,
                      const std::function<QMenu*()>& build);

struct LargeButton {
    QAction* action;
    unsigned command;
    unsigned picture;
};

// A fixed toolbar at the top of the window: 136 x 62 buttons with the
// picture (32 pixels) above the action's label; each button carries its
// command id.
QToolBar* AddLargeButtonToolBar(QMainWindow& window, const char* objectName,
                                std::span<const LargeButton> buttons);

} // namespace ui
