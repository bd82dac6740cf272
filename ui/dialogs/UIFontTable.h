// The fifteen fonts every dialog shares, made once on first use and applied
// to windows by index, so all dialogs speak in the same few faces and sizes.
#pragma once

#include <QFont>

class QWidget;

namespace ui {

inline constexpr int kUIFontCount = 15;

// Index 0..14; any other index gives font 0.
const QFont& UIFont(int index);

// Nothing for a null window or an index outside the table; else the font on
// the window itself (toDescendants false) or on each of its child widgets,
// not on the window (toDescendants true).
void ApplyUIFont(QWidget* window, int index, bool toDescendants);

} // namespace ui
