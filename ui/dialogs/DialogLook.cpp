#include "ui/dialogs/DialogLook.h"

#include "ui/Translate.h"

#include <QDialog>
#include <QLabel>
#include <QPainter>
#include <QPalette>

namespace ui {

void MakeCaptionlessPopup(QDialog* dialog, const QString& title) {
    dialog->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    dialog->setWindowTitle(title);
    QPalette palette = dialog->palette();
    palette.setColor(QPalette::Window, kDialogFaceColour);
    dialog->setPalette(palette);
}

void DrawThinBorder(QPainter& painter, const QWidget* dialog) {
    painter.setPen(kDialogBorderColour);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(dialog->rect().adjusted(0, 0, -1, -1));
}

void SetWhiteBackground(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::black);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLabel* MakeStatic(QWidget* parent, unsigned controlId, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    SetControlId(label, controlId);
    return label;
}

QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace ui
