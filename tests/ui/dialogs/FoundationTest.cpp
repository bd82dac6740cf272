// The shared fonts and the flat button: fonts land where ApplyUIFont says
// and nowhere else, the named faces resolve to fonts this desktop has, and a
// disabled button reads grey.
#include "ui/dialogs/CommonButton.h"
#include "ui/dialogs/UIFontTable.h"

#include "support/QtApplication.h"

#include <QDialog>
#include <QFontInfo>
#include <QImage>
#include <QLabel>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using testsupport::Application;

TEST(UIFontTableTest, FacesResolveToInstalledFontsAtTheirPixelHeights) {
    Application();
    // Japanese text must not fall back to a face without its glyphs.
    EXPECT_EQ(QFontInfo(ui::UIFont(7)).family(), "IPAexGothic");
    EXPECT_EQ(QFontInfo(ui::UIFont(12)).family(), "DejaVu Sans");
    EXPECT_EQ(ui::UIFont(7).pixelSize(), 16);
    EXPECT_TRUE(ui::UIFont(7).bold());
    EXPECT_TRUE(ui::UIFont(8).underline());
    EXPECT_EQ(ui::UIFont(14).pixelSize(), 12);
}

TEST(UIFontTableTest, ApplyUIFontReachesTheWindowOrItsChildrenOnly) {
    Application();
    QDialog window;
    auto* child = new QLabel("child", &window);
    auto* grandChild = new QLabel("grandchild", child);
    auto* owned = new QDialog(&window); // a window of its own

    const QFont before = window.font();
    for (int index : {-1, ui::kUIFontCount, ui::kUIFontCount + 1}) {
        ui::ApplyUIFont(&window, index, true);
        ui::ApplyUIFont(&window, index, false);
    }
    ui::ApplyUIFont(nullptr, 1, true);
    EXPECT_EQ(window.font(), before);
    EXPECT_EQ(child->font(), before);

    ui::ApplyUIFont(&window, 4, true);
    EXPECT_EQ(window.font(), before);
    EXPECT_EQ(child->font(), ui::UIFont(4));
    EXPECT_EQ(grandChild->font(), ui::UIFont(4));
    EXPECT_NE(owned->font(), ui::UIFont(4));

    ui::ApplyUIFont(&window, 9, false);
    EXPECT_EQ(window.font(), ui::UIFont(9));
    EXPECT_EQ(child->font(), ui::UIFont(4));
}

// Pixels of the button's face, inside its edge, whose colour is the grey of
// disabled text or close to it.
int GreyTextPixels(ui::CCommonButton& button) {
    const QImage image = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int grey = 0;
    for (int y = 4; y < image.height() - 4; ++y) {
        for (int x = 4; x < image.width() - 4; ++x) {
            const QColor c = image.pixelColor(x, y);
            const int spread =
                std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()});
            if (spread < 12 && c.red() > 90 && c.red() < 170) {
                ++grey;
            }
        }
    }
    return grey;
}

TEST(CommonButtonTest, DisabledTextIsGrey) {
    Application();
    ui::CCommonButton button("Print");
    ui::StylePrimary(&button);
    button.resize(button.sizeHint());
    EXPECT_EQ(GreyTextPixels(button), 0);
    button.setEnabled(false);
    EXPECT_GT(GreyTextPixels(button), 20);
}

TEST(CommonButtonTest, FitsItsLabel) {
    Application();
    ui::CCommonButton button("A label far longer than the template button is wide");
    EXPECT_GT(button.sizeHint().width(), button.fontMetrics().horizontalAdvance(button.text()));
    const QSize small = ui::CCommonButton("OK").sizeHint();
    EXPECT_GE(small.width(), 100);
    EXPECT_GE(small.height(), 32);
}

} // namespace
