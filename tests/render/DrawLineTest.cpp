#include "render/DrawLine.h"
#include "render/StripGeometry.h"
#include "tests/render/PaperHarness.h"

#include <gtest/gtest.h>

#include <vector>

namespace render {
namespace {

using test::PaperHarness;

struct Step {
    Primitive::Kind kind;
    POINT pt;
    bool operator==(const Step&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Step& s) {
    return os << (s.kind == Primitive::kMoveTo ? "move" : "line") << "(" << s.pt.x << "," << s.pt.y
              << ")";
}

// The trace as move-to / line-to targets.
std::vector<Step> Steps(const RecordingDC& dc) {
    std::vector<Step> steps;
    for (const Primitive& p : dc.Primitives())
        steps.push_back({p.kind, p.kind == Primitive::kLine ? p.points[1] : p.points[0]});
    return steps;
}

constexpr auto M = Primitive::kMoveTo;
constexpr auto L = Primitive::kLine;

// A y-up strip from y = -100 (top) to -300 (bottom), one logical unit per
// sample value.
struct StripFixture {
    explicit StripFixture(std::vector<double> values) : samples(std::move(values)) {
        line.SetSamples(samples.data(), static_cast<int>(samples.size()));
        line.SetYScale(100, 100);
    }
    PaperHarness h{MM_LOMETRIC};
    CDrawLine& line = h.paper.GetLine();
    std::vector<double> samples;
};

constexpr RECT kWideBand{0, 0, 0, -400};

TEST(StripGeometry, ColumnsAndLastSampleFollowTheScale) {
    // 4 samples per unit from sample 8 on: samples 8..11 in column 10.
    EXPECT_EQ(SampleColumn(10, 20, 8, 8, 1, 4), 10);
    EXPECT_EQ(SampleColumn(10, 20, 11, 8, 1, 4), 10);
    EXPECT_EQ(SampleColumn(10, 20, 12, 8, 1, 4), 11);
    EXPECT_EQ(SampleColumn(10, 20, 200, 8, 1, 4), 20); // beyond the strip: its right edge
    EXPECT_EQ(SampleColumn(10, 20, 0, 8, 1, 4), 10);   // before it: the left edge
    EXPECT_EQ(LastSampleInStrip(0, 0, 70, 10, 1), 7);
    EXPECT_EQ(LastSampleInStrip(0, 0, 71, 10, 1), 8); // rounded up
    EXPECT_EQ(LastSampleInStrip(250, 100, 350, 250, 125), 250);
    EXPECT_EQ(LastSampleInStrip(0, 0, 70, 0, 1), 0);
    EXPECT_EQ(SampleOffset(7, 10, 0), 0);
}

TEST(DrawLine, EachColumnIsTheMeanOfItsSamples) {
    StripFixture f({100, 100, 100, 100, 110, 120, 130, 140, 80, 80, 80, 80});
    f.line.SetXScale(4, 1);
    f.line.SetRange(0, 0);
    EXPECT_EQ(f.line.DrawStrip({0, -100, 3, -300}, kWideBand, 100), 12);
    // Centre 110 of the record range (80..140) lies on the middle line -200.
    EXPECT_EQ(Steps(f.h.dc), (std::vector<Step>{{M, {0, -210}}, {L, {1, -185}}, {L, {2, -230}}}));
    EXPECT_EQ(f.line.GetCenter(), 110);
    EXPECT_EQ(f.h.dc.GetPen(), LOGPEN{});
    EXPECT_EQ(f.h.dc.Primitives().back().pen, f.h.paper.GetPen(CECGBasePaper::kPenWave));
}

TEST(DrawLine, StripsShareTheRecordCentreButSitOnTheirOwnMiddle) {
    StripFixture f({0, 0, 0, 200, 200, 200});
    f.line.SetXScale(1, 10);
    f.line.SetRange(3, 6);
    EXPECT_EQ(f.line.DrawStrip({0, -100, 30, -300}, kWideBand, 100), 6);
    for (const Step& s : Steps(f.h.dc))
        EXPECT_EQ(s.pt.y, -200) << s;
}

// One unbroken line: a column outside the band lies on the band's edge, and
// the first column back is drawn where its samples are.
TEST(DrawLine, TraceOutsideTheClipBandFollowsItsEdgeWithoutABreak) {
    struct Case {
        const char* name;
        std::vector<double> samples;
        RECT band;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"out above for two columns",
         {0, 50, 200, 200, 50, 0, 0},
         {0, -150, 0, -350},
         {{M, {0, -300}},
          {L, {10, -250}},
          {L, {20, -150}},
          {L, {30, -150}},
          {L, {40, -250}},
          {L, {50, -300}},
          {L, {60, -300}}}},
        {"a spike of one column",
         {0, 200, 0, 0},
         {0, -150, 0, -350},
         {{M, {0, -300}}, {L, {10, -150}}, {L, {20, -300}}, {L, {30, -300}}}},
        {"out below",
         {200, 0, 200},
         {0, 0, 0, -250},
         {{M, {0, -100}}, {L, {10, -250}}, {L, {20, -100}}}},
    };
    for (const Case& c : cases) {
        StripFixture f(c.samples);
        f.line.SetXScale(1, 10);
        f.line.SetRange(0, 0);
        const int count = static_cast<int>(c.samples.size());
        EXPECT_EQ(f.line.DrawStrip({0, -100, count * 10, -300}, c.band, 100), count) << c.name;
        EXPECT_EQ(Steps(f.h.dc), c.steps) << c.name;
    }
}

TEST(DrawLine, TraceStartingOutsideTheBandStartsOnItsEdge) {
    StripFixture f({200, 200, 0, 0});
    f.line.SetXScale(1, 10);
    f.line.SetRange(0, 0);
    f.line.DrawStrip({0, -100, 40, -300}, {0, -150, 0, -350}, 100);
    const std::vector<Step> steps = Steps(f.h.dc);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), (Step{M, {0, -150}}));
    for (const Step& s : steps) {
        if (s.kind == L) {
            EXPECT_LE(s.pt.y, -150) << s;
        }
    }
}

// Marker samples lie flat on the strip's bottom and top edges whatever the
// zoom, as the paper scales the deflection with it.
TEST(DrawLine, MarkerSamplesAreDrawnFlatAtTheStripEdges) {
    for (int zoom : {100, 200}) {
        StripFixture f({100, 0, 120, 2047, 0});
        f.line.SetYScale(100, zoom);
        f.line.SetXScale(1, 10);
        f.line.SetMarkerValues(0, 2047);
        f.line.SetMarkerChecks(1, 1);
        f.line.SetRange(0, 0);
        f.line.DrawStrip({0, -100, 50, -300}, kWideBand, zoom);
        const int rise = 10 * zoom / 100; // 100 and 120 around the centre 110
        EXPECT_EQ(Steps(f.h.dc), (std::vector<Step>{{M, {0, -200 - rise}},
                                                    {L, {10, -300}},
                                                    {L, {20, -200 + rise}},
                                                    {L, {30, -100}},
                                                    {L, {40, -300}}}))
            << zoom;
    }
}

TEST(DrawLine, AllSamplesOnTheLowMarkerUseTheMarkerRange) {
    StripFixture f({5, 5, 5});
    f.line.SetMarkerValues(5, 2047);
    f.line.SetMarkerChecks(1, 0);
    EXPECT_EQ(f.line.GetMinMax(0, 3)->dMin, 5);
    EXPECT_EQ(f.line.GetMinMax(0, 3)->dMax, 5);
    EXPECT_FALSE(f.line.GetMinMax(3, 5).has_value());
    EXPECT_FALSE(f.line.GetMinMax(1, 1).has_value());
    f.line.SetXScale(1, 10);
    f.line.SetRange(0, 0);
    f.line.DrawStrip({0, -100, 30, -300}, kWideBand, 100);
    for (const Step& s : Steps(f.h.dc))
        EXPECT_EQ(s.pt.y, -300) << s;
}

// Nothing to draw leaves the device context as it was, and a degenerate
// scale never divides by zero.
TEST(DrawLine, NothingToDrawReturnsMinusOneAndTouchesNothing) {
    StripFixture f({1, 2, 3});
    const LOGPEN before{PS_DOT, 3, RGB(1, 2, 3)};
    f.h.dc.SelectPen(before);
    f.line.SetXScale(0, 100);
    f.line.SetRange(1, 2);
    EXPECT_EQ(f.line.DrawStrip({0, -100, 30, -300}, kWideBand, 100), -1);
    EXPECT_EQ(f.line.DrawSimple({0, -100, 30, -300}), -1);
    f.line.SetXScale(1, 10);
    EXPECT_EQ(f.line.DrawStrip({0, -100, 30, -300}, kWideBand, 0), -1);
    f.line.SetYScale(0, 100);
    EXPECT_EQ(f.line.DrawSimple({0, -100, 30, -300}), -1);
    f.line.SetYScale(100, 100);
    f.line.SetSamples(f.samples.data(), 0);
    f.line.SetRange(5, 9);
    EXPECT_EQ(f.line.DrawStrip({0, -100, 30, -300}, kWideBand, 100), -1);
    EXPECT_TRUE(f.h.dc.Primitives().empty());
    EXPECT_EQ(f.h.dc.GetPen(), before);

    f.line.SetSamples(f.samples.data(), 3);
    EXPECT_EQ(f.line.DrawStrip({0, -100, 30, -300}, kWideBand, 100), 3);
}

TEST(DrawLine, SimpleTraceCentresOnTheStripAndStaysInside) {
    PaperHarness h(MM_TEXT);
    std::vector<double> samples{0, 100, 200, 1000};
    CDrawLine& line = h.paper.GetLine();
    line.SetSamples(samples.data(), 4);
    line.SetXScale(1, 10);
    line.SetYScale(100, 30);
    line.SetMarkerValues(-1, 1000);
    line.SetMarkerChecks(0, 1);
    EXPECT_EQ(line.DrawSimple({0, 0, 40, 20}), 4);
    EXPECT_EQ(line.GetCenter(), 100);
    EXPECT_EQ(Steps(h.dc),
              (std::vector<Step>{{M, {0, 20}}, {L, {10, 10}}, {L, {20, 0}}, {L, {30, 0}}}));

    h.dc.Clear();
    line.SetCenter(0);
    line.SetFixedCenter(1);
    line.SetMarkerChecks(0, 0);
    line.SetYScale(100, 10);
    line.DrawSimple({0, 0, 40, 20});
    EXPECT_EQ(Steps(h.dc),
              (std::vector<Step>{{M, {0, 10}}, {L, {10, 0}}, {L, {20, 0}}, {L, {30, 0}}}));
}

} // namespace
} // namespace render
