#include "ui/dialogs/CommonButton.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace ui {

namespace {

// The template buttons are 68 x 20 dialog units, about this in pixels.
constexpr int kMinimumWidth = 100;
constexpr int kMinimumHeight = 32;

struct EdgeColours {
    QColor outerLight, innerLight, innerDark, outerDark;
};

// A two-pixel edge: raised shows light on the top and left, sunken the
// other way round.
void DrawEdge(QPainter& painter, const QRect& rect, bool raised) {
    const EdgeColours colours{QColor(227, 227, 227), QColor(255, 255, 255), QColor(160, 160, 160),
                              QColor(105, 105, 105)};
    const QColor topLeftOuter = raised ? colours.outerLight : colours.innerDark;
    const QColor topLeftInner = raised ? colours.innerLight : colours.outerDark;
    const QColor bottomRightOuter = raised ? colours.outerDark : colours.innerLight;
    const QColor bottomRightInner = raised ? colours.innerDark : colours.outerLight;
    auto frame = [&painter](const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    };
    frame(rect, topLeftOuter, bottomRightOuter);
    frame(rect.adjusted(1, 1, -1, -1), topLeftInner, bottomRightInner);
}

} // namespace

CCommonButton::CCommonButton(QWidget* parent) : QPushButton(parent) {}

CCommonButton::CCommonButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

void CCommonButton::SetColours(QColor text, QColor face) {
    m_crText = text;
    m_crFace = face;
    update();
}

QSize CCommonButton::sizeHint() const {
    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(text().remove(QLatin1Char('&')));
    return {std::max(kMinimumWidth, textWidth + 24),
            std::max(kMinimumHeight, metrics.height() + 12)};
}

QSize CCommonButton::minimumSizeHint() const {
    return sizeHint();
}

void CCommonButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect whole = rect();
    const QRect inner = whole.adjusted(3, 3, -3, -3);
    const bool pressed = isDown() || isChecked();
    const bool focused = hasFocus() && isEnabled();
    // Disabled text is drawn once in its own colour: painting grey over the
    // normal text would leave the normal colour at the glyphs' edges.
    const QColor textColour = isEnabled() ? m_crText : m_crDisabledText;
    const int textFlags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;

    painter.fillRect(whole, m_crFace);
    painter.setPen(textColour);
    painter.setFont(font());
    painter.drawText(whole, textFlags, text());
    DrawEdge(painter, whole, !(focused && pressed));
    if (focused) {
        QPen dotted(m_crText, 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(inner.adjusted(0, 0, -1, -1));
    }
}

void StylePrimary(CCommonButton* button) {
    button->SetColours(QColor(255, 255, 255), QColor(0, 49, 83));
}

void StyleSecondary(CCommonButton* button) {
    button->SetColours(QColor(0, 0, 0), QColor(255, 255, 255));
}

} // namespace ui
