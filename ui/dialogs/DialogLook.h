// What the program's dialogs share in how they look: a popup with a thin
// border and no caption, white backgrounds, and plain-text static controls
// that carry their control ids for the language file.
#pragma once

#include <QColor>

#include <string>

class QDialog;
class QLabel;
class QPainter;
class QString;
class QWidget;

namespace ui {

inline const QColor kDialogBorderColour{128, 128, 128};
// The face below the white blocks, the same on every desktop theme.
inline const QColor kDialogFaceColour{240, 240, 240};

// No caption and no frame from the window manager; the dialog draws its own
// thin border (DrawThinBorder in its paintEvent) around the face colour. The
// title still names the window for the task bar and assistive tools.
void MakeCaptionlessPopup(QDialog* dialog, const QString& title);
void DrawThinBorder(QPainter& painter, const QWidget* dialog);

// The widget fills its background white and writes black.
void SetWhiteBackground(QWidget* widget);

// A static text control; never read as markup, since texts come from
// language files and messages.
QLabel* MakeStatic(QWidget* parent, unsigned controlId, const QString& text);

QString ToQt(const std::string& text);

} // namespace ui
