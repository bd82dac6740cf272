#include "ui/WindowTools.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QWidget>

namespace ui {

void BringWindowForward(QWidget* window) {
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
}

bool PopupContextMenu(const QWidget& area, const QContextMenuEvent& event,
                      const std::function<QMenu*()>& build) {
    const QRect rect(area.mapToGlobal(QPoint(0, 0)), area.size());
    if (!rect.contains(event.globalPos()))
        return false;
    QMenu* menu = build();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event.globalPos());
    return true;
}

} // namespace ui
