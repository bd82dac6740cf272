#include "ui/Translate.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QVariant>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

namespace ui {

namespace {

constexpr char kControlIdProperty[] = "rhythmoraControlId";

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

void SetWidgetText(QWidget* widget, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
    } else {
        widget->setWindowTitle(text);
    }
}

// Command items of a submenu may name the popup that holds them ("PID");
// the last one that does wins.
void TranslateActions(const QList<QAction*>& actions, std::string* popupText,
                      const app::CLanguages& languages) {
    for (QAction* action : actions) {
        if (action->isSeparator()) {
            continue;
        }
        if (QMenu* submenu = action->menu()) {
            std::string ownText;
            TranslateActions(submenu->actions(), &ownText, languages);
            if (!ownText.empty()) {
                action->setText(ToQString(ownText));
            }
            continue;
        }
        const unsigned id = ControlId(action);
        if (id == 0) {
            continue;
        }
        if (popupText != nullptr) {
            *popupText = languages.MenuPopupText(id).value_or(*popupText);
        }
        if (const std::optional<std::string> text = languages.MenuItemText(id)) {
            action->setText(
                ToQString(app::MenuItemTextWithAccelerator(action->text().toStdString(), *text)));
        }
    }
}

} // namespace

void SetControlId(QObject* object, unsigned id) {
    object->setProperty(kControlIdProperty, QVariant::fromValue(id));
}

unsigned ControlId(const QObject* object) {
    const QVariant id = object->property(kControlIdProperty);
    return id.isValid() ? id.toUInt() : 0;
}

void TranslateDialog(QWidget* dialog, unsigned dialogId, const app::CLanguages& languages) {
    SetWindowLayout(dialog, true, languages);
    if (languages.Current() == nullptr) {
        return;
    }
    const bool hasFont = !languages.Font().face.empty();
    for (QWidget* child : dialog->findChildren<QWidget*>()) {
        const unsigned id = ControlId(child);
        if (id == 0) {
            continue;
        }
        if (const std::optional<std::string> text = languages.DialogControlText(dialogId, id)) {
            SetWidgetText(child, ToQString(*text));
            if (hasFont) {
                child->setFont(LanguageFont(child->font(), languages));
            }
        }
    }
    if (const std::optional<std::string> caption = languages.DialogCaption(dialogId)) {
        dialog->setWindowTitle(ToQString(*caption));
    }
    if (hasFont) {
        dialog->setFont(LanguageFont(dialog->font(), languages));
    }
    dialog->update();
}

void TranslateMenu(QMenuBar* menuBar, const app::CLanguages& languages) {
    if (languages.Current() != nullptr) {
        TranslateActions(menuBar->actions(), nullptr, languages);
    }
}

void TranslateMenu(QMenu* menu, const app::CLanguages& languages) {
    if (languages.Current() != nullptr) {
        TranslateActions(menu->actions(), nullptr, languages);
    }
}

bool TooltipText(QAction* action, const app::CLanguages& languages) {
    const std::optional<std::string> tip = languages.TooltipText(ControlId(action));
    if (!tip) {
        return false;
    }
    action->setToolTip(ToQString(*tip));
    return true;
}

void ApplyCommandTexts(QWidget* root, const app::CLanguages& languages) {
    std::vector<QWidget*> widgets{root};
    for (QWidget* child : root->findChildren<QWidget*>()) {
        widgets.push_back(child);
    }
    for (QWidget* widget : widgets) {
        for (QAction* action : widget->actions()) {
            const unsigned id = ControlId(action);
            if (id == 0) {
                continue;
            }
            TooltipText(action, languages);
            action->setStatusTip(ToQString(languages.MenuPrompt(id)));
        }
    }
}

void SetWindowLayout(QWidget* window, bool withChildren, const app::CLanguages& languages) {
    if (languages.Current() == nullptr) {
        return;
    }
    const Qt::LayoutDirection target =
        languages.IsRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    struct Turn {
        QWidget* widget;
        bool mirror;
    };
    // Collected before anything changes: a child inherits its parent's
    // direction at once, and then would no longer look as if it differed.
    std::vector<Turn> turns;
    if (withChildren) {
        for (QWidget* child : window->findChildren<QWidget*>()) {
            if (child->layoutDirection() == target || child->isWindow()) {
                continue;
            }
            QWidget* parent = child->parentWidget();
            const bool placedByHand = parent != nullptr && parent->layout() == nullptr &&
                                      qobject_cast<QComboBox*>(parent) == nullptr;
            turns.push_back({child, placedByHand});
        }
    }
    window->setLayoutDirection(target);
    for (const Turn& turn : turns) {
        turn.widget->setLayoutDirection(target);
        if (turn.mirror) {
            const QRect place = turn.widget->geometry();
            const int parentWidth = turn.widget->parentWidget()->width();
            turn.widget->move(parentWidth - (place.x() + place.width()), place.y());
        }
    }
    window->update();
}

QFont LanguageFont(const QFont& fallback, const app::CLanguages& languages) {
    const app::LanguageFont& font = languages.Font();
    if (font.face.empty()) {
        return fallback;
    }
    QFont result(ToQString(font.face));
    if (font.pointSize > 0) {
        result.setPointSize(font.pointSize);
    }
    return result;
}

void BuildLanguageMenu(QMenu* menu, const app::CLanguages& languages) {
    menu->clear();
    for (const app::LanguageMenuItem& item : languages.MenuItems()) {
        QAction* action = menu->addAction(ToQString(item.text));
        SetControlId(action, item.commandId);
        action->setCheckable(true);
        action->setChecked(item.checked);
    }
}

} // namespace ui
