#include "ui/WindowTools.h"

#include "ui/Artwork.h"
#include "ui/Translate.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

namespace ui {

namespace {

constexpr QSize kLargeButtonSize{136, 62};
constexpr QSize kLargeIconSize{32, 32};

} // namespace

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

QToolBar* AddLargeButtonToolBar(QMainWindow& window, const char* objectName,
                                std::span<const LargeButton> buttons) {
    QToolBar* toolBar = window.addToolBar(QString());
    toolBar->setObjectName(objectName);
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setIconSize(kLargeIconSize);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar->toggleViewAction()->setEnabled(false);
    for (const LargeButton& button : buttons) {
        button.action->setIcon(ArtworkIcon(button.picture, kLargeIconSize));
        toolBar->addAction(button.action);
        if (auto* widget = qobject_cast<QToolButton*>(toolBar->widgetForAction(button.action))) {
            widget->setMinimumSize(kLargeButtonSize);
            widget->setMaximumHeight(kLargeButtonSize.height());
            SetControlId(widget, button.command);
        }
    }
    return toolBar;
}

} // namespace ui
