// The flat push button of the program's dialogs: a plain face colour, the
// label centred on one line and a raised edge, drawn by the button itself so
// it looks the same on every desktop theme.
#pragma once

#include <QColor>
#include <QPushButton>

namespace ui {

class CCommonButton : public QPushButton {
    Q_OBJECT

public:
    explicit CCommonButton(QWidget* parent = nullptr);
    CCommonButton(const QString& text, QWidget* parent = nullptr);

    void SetColours(QColor text, QColor face);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    QColor m_crText{0, 0, 0};
    QColor m_crFace{0, 49, 83};
    QColor m_crDisabledText{128, 128, 128};

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The emphasised button of a dialog: white on dark blue.
void StylePrimary(CCommonButton* button);
// The other buttons: black on white.
void StyleSecondary(CCommonButton* button);

} // namespace ui
