#include "ui/QPainterDC.h"
#include "render/PaperBase.h"
#include "support/QtApplication.h"
#include "support/TempFolder.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <gtest/gtest.h>

namespace ui {
namespace {

using render::POINT;
using render::RECT;

// Fonts need the application object.
class QPainterDCTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        testsupport::Application();
        InstallFontSubstitutions();
    }

    static QImage WhiteImage(int w, int h) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    }

    static bool IsInk(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 128; }
};

TEST_F(QPainterDCTest, LineLeavesInkOnlyWhereDrawn) {
    QImage image = WhiteImage(200, 100);
    {
        QPainter painter(&image);
        QPainterDC dc(painter, false);
        dc.SelectPen({render::PS_SOLID, 1, render::RGB(0, 0, 0)});
        dc.MoveTo(10, 50);
        dc.LineTo(190, 50);
    }
    EXPECT_TRUE(IsInk(image, 100, 50));
    EXPECT_FALSE(IsInk(image, 100, 20));
    EXPECT_FALSE(IsInk(image, 5, 50));
}

// On the paper's y-up screen mapping, text in the top-left quarter lands
// in the top-left of the image and reads upright: an "A" is wider at its
// foot than at its apex.
TEST_F(QPainterDCTest, TextOnAnUpwardMappingReadsUpright) {
    QImage image = WhiteImage(400, 300);
    {
        QPainter painter(&image);
        QPainterDC dc(painter, false);
        render::CPaperBase paper(render::MM_LOMETRIC);
        paper.SetDC(&dc);
        ASSERT_EQ(dc.GetMapMode(), render::MM_ANISOTROPIC);
        render::LOGFONT font;
        font.lfFaceName = "Meiryo UI";
        font.lfHeight = dc.PointFontHeight(720); // 72 pt
        dc.SelectFont(font);
        dc.DrawText("A", RECT{0, 0, 1600, -1200}, render::DT_LEFT | render::DT_TOP);
    }
    int top = image.height(), bottom = -1, left = image.width(), right = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (IsInk(image, x, y)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    ASSERT_GE(bottom, 0) << "no ink";
    EXPECT_LT(bottom, image.height() / 2);
    EXPECT_LT(right, image.width() / 2);
    auto inkWidth = [&](int y) {
        int l = image.width(), r = -1;
        for (int x = 0; x < image.width(); ++x) {
            if (IsInk(image, x, y)) {
                l = std::min(l, x);
                r = std::max(r, x);
            }
        }
        return r < 0 ? 0 : r - l;
    };
    const int h = bottom - top;
    ASSERT_GT(h, 10);
    EXPECT_LT(inkWidth(top + h / 8), inkWidth(bottom - h / 8));
}

TEST_F(QPainterDCTest, TextAlignsInItsRectangle) {
    struct Case {
        unsigned format;
        bool right;
        bool bottom;
    };
    const Case cases[] = {
        {render::DT_LEFT | render::DT_TOP, false, false},
        {render::DT_RIGHT | render::DT_BOTTOM | render::DT_SINGLELINE, true, true},
        {render::DT_CENTER | render::DT_VCENTER, false, false},
    };
    for (const Case& c : cases) {
        QImage image = WhiteImage(300, 300);
        {
            QPainter painter(&image);
            QPainterDC dc(painter, false);
            render::LOGFONT font;
            font.lfFaceName = "Segoe UI";
            font.lfHeight = 40;
            dc.SelectFont(font);
            dc.DrawText("W", RECT{0, 0, 300, 300}, c.format);
        }
        int left = 300, top = 300, right = -1, bottom = -1;
        for (int y = 0; y < 300; ++y) {
            for (int x = 0; x < 300; ++x) {
                if (IsInk(image, x, y)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        ASSERT_GE(right, 0) << c.format;
        const bool centred = (c.format & render::DT_CENTER) != 0;
        EXPECT_EQ(left > 150, c.right) << c.format;
        EXPECT_EQ(top > 150, c.bottom) << c.format;
        if (centred) {
            EXPECT_LT(left, 150);
            EXPECT_GT(right, 150);
            EXPECT_LT(top, 150);
            EXPECT_GT(bottom, 150);
        }
    }
}

TEST_F(QPainterDCTest, ShapesFillWithTheSelectedBrush) {
    QImage image = WhiteImage(300, 100);
    {
        QPainter painter(&image);
        QPainterDC dc(painter, false);
        dc.FillRect(RECT{0, 0, 100, 100}, render::RGB(0, 0, 0));
        dc.SelectBrush(render::RGB(0, 0, 0));
        dc.Ellipse(RECT{100, 0, 200, 100});
        dc.SelectBrush(std::nullopt);
        dc.RoundRect(RECT{200, 0, 300, 100}, 20, 20);
    }
    EXPECT_TRUE(IsInk(image, 50, 50));
    EXPECT_TRUE(IsInk(image, 150, 50));
    EXPECT_FALSE(IsInk(image, 102, 2));  // outside the ellipse
    EXPECT_FALSE(IsInk(image, 250, 50)); // hollow
    EXPECT_TRUE(IsInk(image, 250, 0));
}

TEST_F(QPainterDCTest, DrawsIntoAnSvgDocument) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(200, 100));
    {
        QPainter painter(&generator);
        QPainterDC dc(painter, false);
        const POINT points[] = {{0, 0}, {50, 80}, {100, 10}};
        dc.Polyline(points);
    }
    EXPECT_TRUE(buffer.data().contains("polyline")) << buffer.data().toStdString();
}

TEST_F(QPainterDCTest, PrinterMappingDrawsTrueMillimetres) {
    testsupport::TempFolder folder;
    QPdfWriter writer(QString::fromStdString(folder.File("page.pdf")));
    writer.setResolution(300);
    QPainter painter(&writer);
    QPainterDC dc(painter, true);
    render::CPaperBase paper(render::MM_LOMETRIC);
    paper.SetDC(&dc);
    EXPECT_EQ(dc.GetMapMode(), render::MM_LOMETRIC);
    // 100 mm at 300 dpi, within the rounding of the page size in millimetres.
    EXPECT_NEAR(dc.LPtoDP(POINT{1000, 0}).x - dc.LPtoDP(POINT{0, 0}).x, 1181.1, 10.0);
}

TEST_F(QPainterDCTest, BitmapsComeFromArtworkSvgFilesAndMissingOnesDrawNothing) {
    testsupport::TempFolder folder;
    folder.Write("Artwork/150.svg",
                 "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'>"
                 "<rect width='10' height='10' fill='black'/></svg>");
    QImage image = WhiteImage(100, 100);
    {
        QPainter painter(&image);
        QPainterDC dc(painter, false, folder.File("Artwork"));
        dc.StretchBitmap(150, RECT{0, 0, 50, 50});
        dc.StretchBitmap(151, RECT{50, 50, 100, 100});
    }
    EXPECT_TRUE(IsInk(image, 25, 25));
    EXPECT_FALSE(IsInk(image, 75, 75));
}

} // namespace
} // namespace ui
