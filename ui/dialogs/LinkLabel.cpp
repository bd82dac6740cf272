#include "ui/dialogs/LinkLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace ui {

CLinkLabel::CLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, kLinkColour);
    setPalette(palette);
}

void CLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        m_onClick) {
        m_onClick();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void CLinkLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) && m_onClick) {
        m_onClick();
        return;
    }
    QLabel::keyPressEvent(event);
}

void CLinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) {
        return;
    }
    // A label draws no focus of its own; keyboard users need to see it.
    QPainter painter(this);
    painter.setPen(QPen(kLinkColour, 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace ui
