// The shipped artwork against the papers and windows that show it: every
// picture id has an SVG in the share folder that loads, keeps the shape of
// the rectangle it is shown in and draws something.
#include "platform/ShareFolder.h"
#include "support/QtApplication.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>

namespace {

using testsupport::Application;

struct Picture {
    int id;
    int width; // of the rectangle the picture is stretched into
    int height;
};

// The two body pictures come first: the memo form checks below take them by
// position.
constexpr Picture kPictures[] = {
    // Papers: body pictures in 0.1 mm of the report's memo form, the rest in
    // pixels of a record thumbnail.
    {255, 364, 250},
    {227, 364, 250},
    {279, 16, 16},
    {314, 12, 12},
    {315, 28, 28},
    {316, 28, 28},
    {327, 20, 20},
    // Toolbar image lists: 32 x 32 in the main and wave toolbars, 24 x 24 in
    // the wave window's zoom bar.
    {303, 32, 32},
    {269, 32, 32},
    {270, 32, 32},
    {298, 32, 32},
    {267, 32, 32},
    {277, 32, 32},
    {271, 32, 32},
    {222, 24, 24},
    {233, 24, 24},
    {234, 24, 24},
    // Pictures on the 32-pixel-high buttons of the main view header.
    {355, 20, 20},
    {349, 20, 20},
    {357, 20, 20},
    // Dialogs: the white block stretched over header areas, battery levels,
    // the recorder, the filter switch faces, the severity bars and the
    // electrode positions of the user memo dialog.
    {334, 20, 20},
    {331, 48, 24},
    {332, 48, 24},
    {333, 48, 24},
    {335, 128, 80},
    {336, 64, 32},
    {337, 64, 32},
    {364, 6, 84},
    {274, 6, 84},
    {363, 6, 84},
    {263, 170, 120},
};

void PrintTo(const Picture& picture, std::ostream* out) {
    *out << "picture " << picture.id;
}

QString ArtworkPath(int id) {
    return QString::fromStdString(platform::ShareFolder()) + "/Artwork/" + QString::number(id) +
           ".svg";
}

// The picture drawn on a transparent image at least 200 pixels on its long
// side, so thin lines of the small icons still cover whole pixels.
QImage Render(QSvgRenderer& renderer, const Picture& picture) {
    const int scale = std::max(1, 200 / std::max(picture.width, picture.height));
    QImage image(picture.width * scale, picture.height * scale,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, image.width(), image.height()));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

double PaintedShare(const QImage& image, int columns) {
    long painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < columns; ++x)
            painted += qAlpha(image.pixel(x, y)) > 0;
    return double(painted) / (double(columns) * image.height());
}

class ArtworkTest : public ::testing::TestWithParam<Picture> {
protected:
    ArtworkTest() { Application(); }
};

TEST_P(ArtworkTest, LoadsKeepsItsRectangleShapeAndDraws) {
    const Picture& picture = GetParam();
    const QString path = ArtworkPath(picture.id);
    ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();

    QSvgRenderer renderer(path);
    ASSERT_TRUE(renderer.isValid()) << path.toStdString();
    // A different shape would be distorted by the stretch into the rectangle.
    const QRectF box = renderer.viewBoxF();
    ASSERT_GT(box.width(), 0);
    ASSERT_GT(box.height(), 0);
    EXPECT_NEAR(box.width() / box.height(), double(picture.width) / picture.height, 0.005);

    const QImage image = Render(renderer, picture);
    EXPECT_GT(PaintedShare(image, image.width()), 0.02) << "nearly blank";
    // Paint reaching the far edges shows the drawing fills its box instead
    // of sitting in a corner of a larger canvas.
    const QImage right =
        image.copy(image.width() / 2, 0, image.width() - image.width() / 2, image.height());
    const QImage bottom =
        image.copy(0, image.height() / 2, image.width(), image.height() - image.height() / 2);
    EXPECT_GT(PaintedShare(right, right.width()), 0.01);
    EXPECT_GT(PaintedShare(bottom, bottom.width()), 0.01);
}

INSTANTIATE_TEST_SUITE_P(EveryPicture, ArtworkTest, ::testing::ValuesIn(kPictures),
                         [](const auto& info) { return "Id" + std::to_string(info.param.id); });

// A picture must stand out from the button face it sits on, or the button
// looks empty: the search picture turns white when the face turns blue for
// an active filter.
TEST(ArtworkButtonTest, PictureContrastsWithItsFace) {
    Application();
    struct OnFace {
        Picture picture;
        QRgb face;
    };
    const QRgb white = qRgb(255, 255, 255);
    const OnFace cases[] = {
        {{355, 20, 20}, white},
        {{349, 20, 20}, white},
        {{357, 20, 20}, qRgb(0, 94, 184)},
    };
    for (const OnFace& onFace : cases) {
        QSvgRenderer renderer(ArtworkPath(onFace.picture.id));
        ASSERT_TRUE(renderer.isValid()) << onFace.picture.id;
        const QImage image = Render(renderer, onFace.picture);
        long distance = 0;
        long solid = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (qAlpha(pixel) < 128)
                    continue;
                distance += std::abs(qGray(pixel) - qGray(onFace.face));
                ++solid;
            }
        }
        ASSERT_GT(solid, 0) << onFace.picture.id;
        EXPECT_GT(distance / solid, 100) << onFace.picture.id;
    }
}

// The body pictures lie over the end of the longest position labels of the
// memo form, so they must leave their left edge unpainted and let the
// labels show through.
TEST(ArtworkBodyTest, LeftEdgeStaysClearForTheLabels) {
    Application();
    for (const Picture& picture : {kPictures[0], kPictures[1]}) {
        QSvgRenderer renderer(ArtworkPath(picture.id));
        ASSERT_TRUE(renderer.isValid()) << picture.id;
        const QImage image = Render(renderer, picture);
        const int labelOverlap = image.width() * 45 / picture.width; // 4.5 mm
        EXPECT_EQ(PaintedShare(image, labelOverlap), 0.0) << picture.id;
    }
}

// The report goes to the doctor on whatever printer there is: its body
// picture must not rely on colour.
TEST(ArtworkBodyTest, ReportPictureIsBlackAndWhite) {
    Application();
    QSvgRenderer renderer(ArtworkPath(255));
    ASSERT_TRUE(renderer.isValid());
    const QImage image = Render(renderer, kPictures[0]);
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            coloured += std::abs(qRed(pixel) - qGreen(pixel)) > 2 ||
                        std::abs(qGreen(pixel) - qBlue(pixel)) > 2;
        }
    }
    EXPECT_EQ(coloured, 0);
}

} // namespace
