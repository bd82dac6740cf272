// A static text that acts as a link: underlined blue text that opens
// something when clicked, or with Space or Enter while it has the focus.
#pragma once

#include <QLabel>

#include <functional>

namespace ui {

inline const QColor kLinkColour{0, 94, 184};

class CLinkLabel : public QLabel {
public:
    CLinkLabel(const QString& text, QWidget* parent = nullptr);

    void SetOnClick(std::function<void()> onClick) { m_onClick = std::move(onClick); }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void()> m_onClick;
};

} // namespace ui
