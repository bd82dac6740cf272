#include "render/DrawCalibration.h"
#include "tests/render/PaperHarness.h"

#include <gtest/gtest.h>

namespace render {
namespace {

using test::PaperHarness;

// Full-scale heights of the three sensitivities at zoom 100, 150 and 200
// with 10 units per millimetre at zoom 100.
TEST(DrawCalibration, PulseSizePerSensitivityAndZoom) {
    struct Case {
        int zoom;
        int fullScale;
        PulseSize expected;
    };
    const Case cases[] = {
        {100, 3000, {16, 150}}, {100, 2000, {16, 100}}, {100, 1000, {16, 50}},
        {150, 4500, {24, 225}}, {150, 3000, {24, 150}}, {150, 1500, {24, 75}},
        {200, 6000, {33, 300}}, {200, 4000, {33, 200}}, {200, 2000, {33, 100}},
    };
    for (const Case& c : cases) {
        CECGBasePaper paper(MM_LOMETRIC, 10.0 * c.zoom / 100, 10.0 * c.zoom / 100);
        EXPECT_EQ(CalibrationPulseSize(paper.SecondsToUnits(0.1), c.fullScale), c.expected)
            << c.zoom << " " << c.fullScale;
    }
}

TEST(DrawCalibration, PulseStandsOnItsBaselineOrHangsFromItsTop) {
    struct Case {
        int mapMode;
        int onBaseline;
        int baseline;
        int top;
    };
    // y = 500; h = 100: upwards papers have the top above (greater y).
    const Case cases[] = {
        {MM_LOMETRIC, 1, 500, 600},
        {MM_LOMETRIC, 0, 400, 500},
        {MM_TEXT, 1, 500, 400},
        {MM_TEXT, 0, 600, 500},
    };
    for (const Case& c : cases) {
        PaperHarness h(c.mapMode);
        CDrawCalibration& cal = h.paper.GetCalibration();
        cal.SetPulseSize(16, 100);
        cal.DrawPulse(200, 500, c.onBaseline);
        const auto lines = h.dc.OfKind(Primitive::kPolyline);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].points, (std::vector<POINT>{{200, c.baseline},
                                                       {216, c.baseline},
                                                       {216, c.top},
                                                       {232, c.top},
                                                       {232, c.baseline},
                                                       {248, c.baseline}}))
            << c.mapMode << " " << c.onBaseline;
        EXPECT_EQ(lines[0].pen, h.paper.GetPen(CECGBasePaper::kPenCalibration));
        EXPECT_EQ(h.dc.GetPen(), LOGPEN{});
    }
}

} // namespace
} // namespace render
