#include "render/DrawGrid.h"
#include "render/GridGeometry.h"
#include "tests/render/PaperHarness.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace render {
namespace {

using test::PaperHarness;

std::vector<int> VerticalLineXs(const RecordingDC& dc) {
    std::vector<int> xs;
    for (const Primitive& p : dc.OfKind(Primitive::kLine)) {
        if (p.points[0].x == p.points[1].x)
            xs.push_back(p.points[0].x);
    }
    return xs;
}

std::vector<int> HorizontalLineYs(const RecordingDC& dc) {
    std::vector<int> ys;
    for (const Primitive& p : dc.OfKind(Primitive::kLine)) {
        if (p.points[0].y == p.points[1].y)
            ys.push_back(p.points[0].y);
    }
    return ys;
}

// Areas side by side, including one narrower than a spacing, draw the same
// lines as one wide area: no seam, no doubled line.
TEST(DrawGrid, ContiguousAreasContinueTheVerticalPhase) {
    PaperHarness h(MM_TEXT); // 10 units per mm
    CDrawGrid& grid = h.paper.GetGrid();
    grid.SetGridLevels(1, 0, 0, 0, 0);
    grid.DrawGrid(0, 0, 95, 50);
    const std::vector<int> whole = VerticalLineXs(h.dc);
    EXPECT_EQ(whole, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90}));

    h.dc.Clear();
    grid.DrawGrid(0, 0, 25, 50);
    grid.DrawGridContinue(25, 0, 28, 50); // narrower than 10: passes the phase on
    EXPECT_EQ(grid.GetPhase(CDrawGrid::kLevel1).x, 2);
    grid.DrawGridContinue(28, 0, 61, 50);
    grid.DrawGridContinue(61, 0, 95, 50);
    EXPECT_EQ(VerticalLineXs(h.dc), whole);
}

TEST(DrawGrid, HorizontalPhaseContinuesDownAnUpwardPaper) {
    PaperHarness h(MM_LOMETRIC);
    CDrawGrid& grid = h.paper.GetGrid();
    grid.SetGridLevels(1, 0, 1, 0, 0);
    grid.DrawGrid(0, 0, 5, -25);
    EXPECT_EQ(HorizontalLineYs(h.dc), (std::vector<int>{-10, -20}));
    EXPECT_EQ(grid.GetPhase(CDrawGrid::kLevel1).y, -5);
    h.dc.Clear();
    grid.DrawGridContinue(0, -25, 5, -50);
    EXPECT_EQ(HorizontalLineYs(h.dc), (std::vector<int>{-30, -40, -50}));
}

TEST(DrawGrid, PhaseResetStartsOnTheEdgeAndEachLevelUsesItsPen) {
    PaperHarness h(MM_TEXT);
    CDrawGrid& grid = h.paper.GetGrid();
    grid.SetGridLevels(0, 1, 0, 1, 0);
    grid.SetPhaseReset(0, 1, 0);
    grid.DrawGrid(7, 0, 300, 10);
    std::set<int> level2;
    std::set<int> level3;
    for (const Primitive& p : h.dc.OfKind(Primitive::kLine)) {
        (p.pen == h.paper.GetPen(CECGBasePaper::kPenGrid5) ? level2 : level3).insert(p.points[0].x);
    }
    EXPECT_EQ(level2, (std::set<int>{7, 57, 107, 157, 207, 257})); // from the edge, every 5 mm
    EXPECT_EQ(level3, (std::set<int>{257}));                       // one spacing (25 mm) in
    EXPECT_EQ(h.dc.GetPen(), LOGPEN{});                            // restored
}

TEST(DrawGrid, FrameDrawsTheSwitchedSidesInOrder) {
    PaperHarness h(MM_TEXT);
    CDrawGrid& grid = h.paper.GetGrid();
    grid.SetGridLevels(0, 0, 0, 0, 1);
    grid.SetFrameSides(1, 0, 1, 1);
    grid.DrawGrid(1, 2, 30, 40);
    const auto lines = h.dc.OfKind(Primitive::kLine);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].points, (std::vector<POINT>{{1, 2}, {1, 40}}));
    EXPECT_EQ(lines[1].points, (std::vector<POINT>{{30, 2}, {30, 40}}));
    EXPECT_EQ(lines[2].points, (std::vector<POINT>{{1, 40}, {30, 40}}));
    EXPECT_EQ(lines[0].pen, h.paper.GetPen(CECGBasePaper::kPenFrame));
}

TEST(GridGeometry, NonPositiveSpacingDrawsNothingAndKeepsTheSpacingAsPhase) {
    const GridLevelLines g = ComputeGridLevel({0, 0, 100, 100}, 0, 0, {3, 3}, 1, true);
    EXPECT_TRUE(g.lines.empty());
    EXPECT_EQ(g.phase, (POINT{0, 0}));
    EXPECT_EQ(GridStartPhase(12.7, 4.2, -1, false), (POINT{12, -4}));
    EXPECT_EQ(GridStartPhase(12.7, 4.2, -1, true), (POINT{0, 0}));
}

} // namespace
} // namespace render
