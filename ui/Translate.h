// The interface language applied to Qt widget trees and menus: dialog
// control texts, menu item texts, tooltips and status-bar prompts, the
// language font and right-to-left layout. Widgets and actions carry their
// control or command id as a property (SetControlId).
#pragma once

#include "app/Language.h"

#include <QFont>

class QAction;
class QMenu;
class QMenuBar;
class QObject;
class QWidget;

namespace ui {

// The id a widget (control id) or an action (command id) answers to; 0
// for none.
void SetControlId(QObject* object, unsigned id);
unsigned ControlId(const QObject* object);

// Layout, control texts, caption and font of a dialog from the current
// language; without a language nothing changes.
void TranslateDialog(QWidget* dialog, unsigned dialogId,
                     const app::CLanguages& languages = app::Languages());

// The "MENU" texts for every item of a menu bar or menu and its submenus.
void TranslateMenu(QMenuBar* menuBar, const app::CLanguages& languages = app::Languages());
void TranslateMenu(QMenu* menu, const app::CLanguages& languages = app::Languages());

// Sets the action's tooltip from its command id; false when the id has no
// text (the tooltip stays as it is).
bool TooltipText(QAction* action, const app::CLanguages& languages = app::Languages());
// TooltipText for every action of the widget and its descendants, and the
// status-bar prompt (MenuPrompt) as each action's status tip.
void ApplyCommandTexts(QWidget* root, const app::CLanguages& languages = app::Languages());

// Right to left for Arabic, Hebrew, Urdu and Farsi, else left to right,
// when a language is current. With children, every descendant whose
// direction differs is turned too, and one placed by hand (its parent has
// no layout, and is no combo box) moves to the mirrored place.
void SetWindowLayout(QWidget* window, bool withChildren,
                     const app::CLanguages& languages = app::Languages());

// The language's dialog font, or `fallback` when the language names none.
QFont LanguageFont(const QFont& fallback, const app::CLanguages& languages = app::Languages());

// Fills the menu with one checkable action per language, in list order.
void BuildLanguageMenu(QMenu* menu, const app::CLanguages& languages = app::Languages());

} // namespace ui
