// The shipped artwork against the papers that stretch it: every picture id
// the papers draw has an SVG in the share folder that loads, keeps the shape
// of its destination rectangle and draws something.
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
    int width; // of the rectangle the paper stretches the picture into
    int height;
};

// Body pictures in 0.1 mm of the report's memo form; the rest in pixels of
// a record thumbnail.
constexpr Picture kPictures[] = {
    {255, 364, 250}, {227, 364, 250}, {279, 16, 16}, {314, 12, 12},
    {315, 28, 28},   {316, 28, 28},   {327, 20, 20},
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

INSTANTIATE_TEST_SUITE_P(EveryPaperPicture, ArtworkTest, ::testing::ValuesIn(kPictures),
                         [](const auto& info) { return "Id" + std::to_string(info.param.id); });

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
