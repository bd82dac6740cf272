#include "ui/dialogs/UIFontTable.h"

#include "ui/QPainterDC.h"

#include <QWidget>

#include <array>

namespace ui {

namespace {

struct FontEntry {
    const char* face;
    int pixelHeight;
    bool bold;
    bool underline;
};

constexpr std::array<FontEntry, kUIFontCount> kFonts{{
    {"Meiryo UI", 16, false, false},
    {"Meiryo UI", 14, false, false},
    {"Meiryo UI", 12, false, false},
    {"Meiryo UI", 16, true, false},
    {"Meiryo UI", 14, true, false},
    {"Meiryo UI", 12, true, false},
    {"Meiryo UI", 14, false, false},
    {"Meiryo UI", 16, true, false},
    {"Meiryo UI", 14, false, true},
    {"Segoe UI", 16, false, false},
    {"Segoe UI", 14, false, false},
    {"Segoe UI", 12, false, false},
    {"Segoe UI", 16, true, false},
    {"Segoe UI", 14, true, false},
    {"Segoe UI", 12, true, false},
}};

std::array<QFont, kUIFontCount> MakeTable() {
    // The faces are asked for by name; the substitutions say what this
    // desktop has in their place, and must exist before the first font.
    InstallFontSubstitutions();
    std::array<QFont, kUIFontCount> table;
    for (int i = 0; i < kUIFontCount; ++i) {
        const FontEntry& entry = kFonts[static_cast<std::size_t>(i)];
        QFont font(QString::fromLatin1(entry.face));
        font.setPixelSize(entry.pixelHeight);
        font.setWeight(entry.bold ? QFont::Bold : QFont::Normal);
        font.setUnderline(entry.underline);
        font.setItalic(false);
        font.setStrikeOut(false);
        font.setStyleStrategy(QFont::PreferQuality);
        table[static_cast<std::size_t>(i)] = font;
    }
    return table;
}

} // namespace

const QFont& UIFont(int index) {
    static const std::array<QFont, kUIFontCount> table = MakeTable();
    if (index < 0 || index >= kUIFontCount) {
        index = 0;
    }
    return table[static_cast<std::size_t>(index)];
}

void ApplyUIFont(QWidget* window, int index, bool toDescendants) {
    if (window == nullptr || index < 0 || index >= kUIFontCount) {
        return;
    }
    const QFont& font = UIFont(index);
    if (!toDescendants) {
        window->setFont(font);
        return;
    }
    // Child windows (dialogs owned by this one) keep their own fonts.
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (!child->isWindow()) {
            child->setFont(font);
        }
    }
}

} // namespace ui
