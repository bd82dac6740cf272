#include "render/WavePaper.h"
#include "app/ECGFramework.h"
#include "render/DrawCalibration.h"
#include "render/DrawGrid.h"
#include "render/DrawLine.h"
#include "tests/render/ReportFixture.h"

#include <gtest/gtest.h>

#include <time.h>

#include <string>
#include <vector>

namespace render {
namespace {

using test::MakeRecord;

constexpr LOGPEN kTracePen{PS_SOLID, 2, RGB(0, 0, 0)};

std::vector<std::pair<POINT, POINT>> TraceLines(const RecordingDC& dc) {
    std::vector<std::pair<POINT, POINT>> lines;
    for (const Primitive& p : dc.OfKind(Primitive::kLine))
        if (p.pen == kTracePen)
            lines.emplace_back(p.points[0], p.points[1]);
    return lines;
}

class WavePaperTest : public ::testing::Test {
protected:
    WavePaperTest() { ::tzset(); }

    // The wave view's repaint: SetDC, SetContents, ApplyGraphOptions, Draw.
    void Repaint(RecordingDC& target) {
        const int z = paper.GetZoom();
        paper.SetDC(&target);
        paper.SetContents(0, 0, -(z * 2060 / 100), -(z * 2970 / 100));
        paper.ApplyGraphOptions({});
        target.Clear();
        paper.Draw();
    }
    void Open(const records::CECGContentsData* record, int zoom) {
        paper.SetFramework(&framework);
        paper.SetData(record);
        paper.SetZoom(zoom);
        Repaint(dc);
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const Primitive& p : dc.OfKind(Primitive::kText))
            out.push_back(p.strText);
        return out;
    }

    testsupport::ScopedEnv tz{"TZ", std::string("JST-9")};
    testsupport::TempFolder folder;
    RecordingDC dc{test::ScreenCaps(1280, 1024)};
    app::CECGFramework framework;
    CWavePaper paper;
};

TEST_F(WavePaperTest, LaysOutTheScreenAreasAndFiveStripsAtZoom100) {
    const auto record = MakeRecord(folder, "d.ecg", 3750);
    Open(record.get(), 100);
    EXPECT_EQ(paper.GetPaperRect(), (RECT{0, 0, 2060, -2970}));
    const std::vector<RECT> areas{
        {200, -85, 1950, -150},    {200, -300, 1950, -980},   {200, -236, 780, -280},
        {200, -190, 920, -230},    {200, -998, 1950, -2798},  {200, -150, 1950, -998},
        {200, -2808, 1950, -2908}, {200, -998, 1950, -1098},  {200, -1048, 1950, -1348},
        {200, -1398, 1950, -1698}, {200, -1748, 1950, -2048}, {200, -2098, 1950, -2398},
        {200, -2448, 1950, -2748}};
    ASSERT_EQ(paper.GetAreaCount(), static_cast<int>(areas.size()));
    for (int i = 0; i < paper.GetAreaCount(); ++i)
        EXPECT_EQ(paper.GetAreaRect(i), areas[static_cast<std::size_t>(i)]) << "area " << i;
    ASSERT_EQ(paper.GetStripCount(), 5);
    for (int s = 0; s < 5; ++s)
        EXPECT_EQ(paper.GetStripStart(s), s * 875);

    // The pulse's flat top at the waveform area's top-left corner, 16 wide
    // per segment and 100 (10 mm) tall.
    const auto& pulse = paper.GetCalibration().GetPoints();
    EXPECT_EQ(pulse[0], (POINT{200, -1098}));
    EXPECT_EQ(pulse[2], (POINT{216, -998}));
    EXPECT_EQ(pulse[5], (POINT{248, -1098}));
    EXPECT_EQ(paper.GetCalibration().GetPen(), (LOGPEN{PS_SOLID, 2, RGB(153, 153, 153)}));

    // The window shows the large body picture, not the report's.
    bool wavePicture = false;
    for (const Primitive& p : dc.OfKind(Primitive::kBitmap)) {
        EXPECT_NE(p.nFormat, 255u);
        wavePicture = wavePicture || p.nFormat == 227u;
    }
    EXPECT_TRUE(wavePicture);
}

TEST_F(WavePaperTest, TraceMatchesTheReportShiftedToTheScreenAreas) {
    const auto record = MakeRecord(folder, "d.ecg", 3750);
    Open(record.get(), 100);
    const auto wave = TraceLines(dc);

    RecordingDC printer(test::A4PrinterCaps(), true);
    CPrintPaper report;
    report.SetData(record.get());
    report.SetDC(&printer);
    printer.Clear();
    report.Draw();
    auto expected = TraceLines(printer);

    ASSERT_FALSE(expected.empty());
    for (auto& [from, to] : expected) {
        from.y -= 18;
        to.y -= 18;
    }
    EXPECT_EQ(wave, expected);
}

TEST_F(WavePaperTest, ZoomScalesGridTracePulseAndScrollPage) {
    const auto record = MakeRecord(folder, "d.ecg", 3750);
    struct Case {
        int zoom;
        double unitsPerMm;
        int unitsPerSecond;
        int fullScale;
        int pulseHeight;
        PageSize page;
    };
    for (const Case& c :
         {Case{100, 10, 250, 2000, 100, {125, 885}}, Case{150, 15, 375, 3000, 150, {187, 1327}},
          Case{200, 20, 500, 4000, 200, {250, 1770}}}) {
        Open(record.get(), c.zoom);
        EXPECT_EQ(paper.GetUnitsPerMmX(), c.unitsPerMm) << c.zoom;
        EXPECT_EQ(paper.GetGrid().GetGridSpacing(CDrawGrid::kLevel1).dX, c.unitsPerMm);
        EXPECT_EQ(paper.SecondsToUnits(1), c.unitsPerSecond);
        // 1 mV (5 % of the full-scale height) is the pulse height.
        EXPECT_EQ(paper.GetFullScaleUnits(), c.fullScale) << c.zoom;
        const auto& pulse = paper.GetCalibration().GetPoints();
        EXPECT_EQ(pulse[2].y - pulse[0].y, c.pulseHeight) << c.zoom;
        EXPECT_EQ(paper.GetPageSize(), c.page) << c.zoom;
        EXPECT_EQ(paper.GetPaperRect().bottom, -(c.zoom * 2970 / 100));
    }
    // The first strip starts at the zoomed left edge of the waveform area.
    const auto lines = TraceLines(dc);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().first.x, 400);

    paper.SetZoom(0);
    EXPECT_EQ(paper.GetZoom(), 200);
}

// At every zoom the label, the pulse and a 1 mV step of the trace agree in
// millimetres of the window's grid, as on the report.
TEST_F(WavePaperTest, EachSensitivityDrawsWhatItsLabelSaysAtEveryZoom) {
    const auto record = test::MakeStepRecord(folder, "d.ecg");
    const double millivolts = test::StepMillivolts(*record);
    struct Case {
        int index;
        double mmPerMv;
        const char* label;
    };
    for (const int zoom : {100, 150, 200}) {
        for (const Case& c :
             {Case{0, 20, "20mm/mV"}, Case{1, 10, "10mm/mV"}, Case{2, 5, "5mm/mV"}}) {
            paper.SetSensitivity(c.index);
            Open(record.get(), zoom);
            EXPECT_EQ(framework.GetSensitivity(), c.index);
            const test::DrawnScale drawn =
                test::MeasureScale(dc.Primitives(), paper.GetUnitsPerMmY(), kTracePen,
                                   LOGPEN{PS_SOLID, 2, RGB(153, 153, 153)}, millivolts);
            EXPECT_NEAR(drawn.pulseMm, c.mmPerMv, 0.1) << zoom << " " << c.index;
            EXPECT_NEAR(drawn.traceMmPerMv, c.mmPerMv, 0.2) << zoom << " " << c.index;
            EXPECT_EQ(drawn.scaleLine, test::ScaleLine(c.label)) << zoom << " " << c.index;
        }
    }
}

TEST_F(WavePaperTest, AnUnknownSensitivityKeepsTheGainAndPrintsNoScaleLine) {
    const auto record = MakeRecord(folder, "d.ecg", 3750);
    paper.SetSensitivity(7);
    Open(record.get(), 100);
    EXPECT_EQ(framework.GetSensitivity(), 7);
    EXPECT_EQ(paper.GetFullScaleUnits(), 1333);
    for (const std::string& text : Texts())
        EXPECT_EQ(text.find("尺度"), std::string::npos) << text;
}

TEST_F(WavePaperTest, DeskSheetAndOutlineFollowTheZoom) {
    const auto record = MakeRecord(folder, "d.ecg", 875);
    Open(record.get(), 200);
    const auto fills = dc.OfKind(Primitive::kFillRect);
    ASSERT_GE(fills.size(), 2u);
    EXPECT_EQ(fills[0].rc, (RECT{0, 0, 50000, -50000}));
    EXPECT_EQ(fills[0].colour, RGB(224, 224, 224));
    const RECT sheet{52, -52, 4148, -5868};
    EXPECT_EQ(fills[1].rc, sheet);
    EXPECT_EQ(fills[1].colour, RGB(255, 255, 255));
    const auto outlines = dc.OfKind(Primitive::kPolyline);
    ASSERT_FALSE(outlines.empty());
    EXPECT_EQ(
        outlines[0].points,
        (std::vector<POINT>{{52, -5868}, {52, -52}, {4148, -52}, {4148, -5868}, {52, -5868}}));
}

TEST_F(WavePaperTest, FontZoomFollowsTheScreenWidth) {
    const auto record = MakeRecord(folder, "d.ecg", 875);
    Open(record.get(), 100);
    EXPECT_EQ(paper.GetFontZoom(), 100);
    for (auto [width, zoom] : {std::pair{1920, 150}, std::pair{1024, 80}}) {
        RecordingDC screen(test::ScreenCaps(width, 1080));
        Repaint(screen);
        EXPECT_EQ(paper.GetFontZoom(), zoom) << width;
    }
}

TEST_F(WavePaperTest, OnlyPageStaysWhenPagingAndAnEmptyRecordDoesNotSpoilTheNext) {
    const auto record = MakeRecord(folder, "d.ecg", 3750);
    records::CECGContentsData empty;
    Open(&empty, 150);
    EXPECT_EQ(paper.GetStripCount(), 0);
    EXPECT_TRUE(TraceLines(dc).empty());

    paper.SetData(record.get());
    Repaint(dc);
    EXPECT_EQ(paper.NextPage(), -1);
    EXPECT_EQ(paper.PreviousPage(), -1);
    Repaint(dc);
    EXPECT_EQ(paper.GetCurrentPage(), 0);
    EXPECT_EQ(paper.GetStripCount(), 5);
    EXPECT_FALSE(TraceLines(dc).empty());
}

} // namespace
} // namespace render
