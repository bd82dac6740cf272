#include "render/Mapping.h"
#include "render/PaperBase.h"
#include "render/RecordingDC.h"
#include "tests/render/PaperHarness.h"

#include <gtest/gtest.h>

namespace render {
namespace {

using test::A4PrinterCaps;
using test::ScreenCaps;

TEST(Mapping, TextIsDevicePixelsAndLometricIsTenthMillimetresUpwards) {
    RecordingDC dc(A4PrinterCaps(), true);
    DevicePoint p = dc.LPtoDP({123, 456});
    EXPECT_DOUBLE_EQ(p.x, 123);
    EXPECT_DOUBLE_EQ(p.y, 456);

    dc.SetMapMode(MM_LOMETRIC);
    p = dc.LPtoDP({2100, -2970});
    EXPECT_NEAR(p.x, 4961, 0.5); // 210 mm: the full width
    EXPECT_NEAR(p.y, 7016, 0.5); // y grows upwards: -297 mm is the bottom
    EXPECT_EQ(DPtoLP(dc.GetMapping(), p), (POINT{2100, -2970}));
}

// A page whose size is not whole millimetres keeps true millimetres: the
// scale comes from the resolution, on each axis its own.
TEST(Mapping, LometricFollowsTheResolutionNotTheRoundedSize) {
    RecordingDC letter({5100, 6600, 216, 279, 600}, true);
    letter.SetMapMode(MM_LOMETRIC);
    EXPECT_DOUBLE_EQ(letter.LPtoDP({2159, -2794}).x, 2159 * 600 / 254.0);
    EXPECT_DOUBLE_EQ(letter.LPtoDP({2159, -2794}).y, 2794 * 600 / 254.0);
    RecordingDC oblong({2400, 1200, 203, 203, 150, 300}, true);
    oblong.SetMapMode(MM_LOMETRIC);
    EXPECT_DOUBLE_EQ(oblong.LPtoDP({254, -254}).x, 300);
    EXPECT_DOUBLE_EQ(oblong.LPtoDP({254, -254}).y, 150);
}

TEST(Mapping, ExtentsOnlyApplyUnderAnisotropicAndNeverZero) {
    RecordingDC dc(ScreenCaps(), false);
    dc.SetMapMode(MM_TEXT);
    dc.SetWindowExt(3200, 2400);
    EXPECT_DOUBLE_EQ(dc.LPtoDP({100, 100}).x, 100);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(10, 10);
    dc.SetViewportExt(0, 5);
    dc.SetViewportExt(20, -20);
    EXPECT_DOUBLE_EQ(dc.LPtoDP({100, 100}).x, 200);
    EXPECT_DOUBLE_EQ(dc.LPtoDP({100, 100}).y, -200);
    dc.SetViewportOrg(7, 9);
    EXPECT_DOUBLE_EQ(dc.LPtoDP({0, 0}).x, 7);
    EXPECT_DOUBLE_EQ(dc.LPtoDP({0, 0}).y, 9);
}

// 320 mm of paper across any screen; true millimetres on a printer.
TEST(Mapping, PaperScreenMappingSpansTheScreenWidthAndPrinterKeepsMillimetres) {
    for (int width : {800, 1366, 1920, 3840}) {
        RecordingDC screen(ScreenCaps(width, 600), false);
        CPaperBase paper(MM_LOMETRIC);
        paper.SetDC(&screen);
        EXPECT_EQ(screen.GetMapMode(), MM_ANISOTROPIC);
        const DevicePoint a = screen.LPtoDP({0, 0});
        const DevicePoint b = screen.LPtoDP({3200, -2400});
        EXPECT_NEAR(b.x - a.x, width, 1e-6) << width;
        EXPECT_NEAR(b.y - a.y, width * 75 / 100, 1e-6) << width;
    }
    RecordingDC printer(A4PrinterCaps(), true);
    CPaperBase paper(MM_LOMETRIC);
    paper.SetDC(&printer);
    EXPECT_EQ(printer.GetMapMode(), MM_LOMETRIC);
    EXPECT_NEAR(printer.LPtoDP({3200, 0}).x, 320 * 600 / 25.4, 1.0);
}

// GetDC puts the paper's mapping back whatever a caller did in between.
TEST(Mapping, PaperReappliesItsMappingOnEveryGetDC) {
    RecordingDC screen(ScreenCaps(), false);
    CPaperBase paper(MM_LOMETRIC);
    paper.SetDC(&screen);
    screen.SetMapMode(MM_TEXT);
    ASSERT_EQ(paper.GetDC(), &screen);
    EXPECT_EQ(screen.GetMapMode(), MM_ANISOTROPIC);
    CPaperBase unset(MM_TEXT);
    EXPECT_EQ(unset.GetDC(), nullptr);
}

TEST(Mapping, PointFontHeightFollowsLogPixelsYAndTheMapping) {
    RecordingDC screen(ScreenCaps(), false);
    EXPECT_EQ(screen.PointFontHeight(100), 13); // 10 pt at 96 dpi: 13.3 pixels
    EXPECT_EQ(screen.PointFontHeight(90), 12);
    RecordingDC printer(A4PrinterCaps(), true);
    printer.SetMapMode(MM_LOMETRIC);
    EXPECT_EQ(printer.PointFontHeight(100), 35); // 10 pt = 3.53 mm
}

} // namespace
} // namespace render
