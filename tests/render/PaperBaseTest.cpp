#include "records/RecordBuilder.h"
#include "render/DrawCalibration.h"
#include "render/DrawGrid.h"
#include "render/DrawLine.h"
#include "render/ECGBasePaper.h"
#include "support/TempFolder.h"
#include "tests/render/PaperHarness.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace render {
namespace {

// Records the order of the virtual steps the paper runs.
class LoggingPaper : public CPaperBase {
public:
    LoggingPaper() : CPaperBase(MM_TEXT) {}
    std::vector<std::string> log;
    bool addAreaInBeginDraw = false;

protected:
    void InitPage(CDC*) override { log.push_back("init"); }
    void Layout(RECT rc) override { log.push_back("layout " + std::to_string(rc.right)); }
    void BeginDraw(RECT) override {
        log.push_back("begin");
        if (addAreaInBeginDraw)
            AddArea(0, 0, 5, 5, 1);
    }
    void DrawArea(int index, RECT rc) override {
        log.push_back("area " + std::to_string(index) + " " + std::to_string(rc.right));
    }
    void EndDraw() override { log.push_back("end"); }
};

TEST(PaperBase, DrawLoopVisitsDrawnAreasInOrderAndRereadsTheCount) {
    LoggingPaper paper;
    RecordingDC dc(test::ScreenCaps());
    paper.SetDC(&dc);
    paper.AddArea(0, 0, 10, 10, 1);
    paper.AddArea(0, 0, 20, 10, 0);
    paper.AddEmptyArea(1);
    paper.addAreaInBeginDraw = true;
    const RECT rc{0, 0, 100, 100};
    paper.Draw(&rc);
    EXPECT_EQ(paper.log, (std::vector<std::string>{"init", "layout 100", "begin", "area 0 10",
                                                   "area 2 0", "area 3 5", "end"}));

    paper.log.clear();
    paper.addAreaInBeginDraw = false;
    paper.Draw();
    ASSERT_FALSE(paper.log.empty());
    EXPECT_EQ(paper.log.front(), "begin"); // no layout without a rectangle
}

TEST(PaperBase, NoDrawnAreasRunsOnlyBeginAndEnd) {
    LoggingPaper paper;
    paper.AddArea(0, 0, 1, 1, 0);
    paper.Draw();
    EXPECT_EQ(paper.log, (std::vector<std::string>{"begin", "end"}));
}

TEST(PaperBase, PaperSizeKeepsTheOriginAndLaysOut) {
    LoggingPaper paper;
    paper.SetPaperRect({10, 20, 30, 40});
    paper.SetPaperSize(100, 50);
    EXPECT_EQ(paper.GetPaperRect(), (RECT{10, 20, 110, 70}));
    EXPECT_EQ(paper.log, (std::vector<std::string>{"layout 30", "layout 110"}));
}

TEST(PaperBase, AreaOperationsRejectBadIndexesAndNeverGrowOnTruncate) {
    CPaperBase paper(MM_TEXT);
    EXPECT_EQ(paper.AddArea(1, 2, 3, 4, 1), 0);
    EXPECT_EQ(paper.AddEmptyArea(0), 1);
    paper.SetAreaRect(1, 5, 6, 7, 8);
    EXPECT_EQ(paper.GetAreaRect(1), (RECT{5, 6, 7, 8}));
    EXPECT_THROW(paper.SetAreaRect(2, 0, 0, 0, 0), std::invalid_argument);
    EXPECT_THROW(paper.GetAreaRect(-1), std::invalid_argument);
    EXPECT_THROW(paper.TruncateAreas(-1), std::invalid_argument);
    paper.TruncateAreas(5);
    EXPECT_EQ(paper.GetAreaCount(), 2);
    paper.TruncateAreas(1);
    EXPECT_EQ(paper.GetAreaCount(), 1);
    EXPECT_EQ(paper.GetAreaRect(0), (RECT{1, 2, 3, 4}));
    paper.RemoveAllAreas();
    EXPECT_EQ(paper.GetAreaCount(), 0);
}

TEST(ECGBasePaper, ScaleInvariantsAndScreenDefaults) {
    for (auto [x, y] : {std::pair{0.5, 10.0}, std::pair{10.0, 0.5}}) {
        CECGBasePaper paper(MM_LOMETRIC, x, y);
        EXPECT_EQ(paper.GetUnitsPerMmX(), 4.0);
        EXPECT_EQ(paper.GetUnitsPerMmY(), 4.0);
        EXPECT_EQ(paper.GetUnitsPerSecX(), 100.0);
    }
    CECGBasePaper paper(MM_LOMETRIC, 10.0, 8.0);
    EXPECT_EQ(paper.GetUnits5mmX(), 50.0);
    EXPECT_EQ(paper.GetUnits5mmY(), 40.0);
    EXPECT_EQ(paper.GetUnitsPerSecX(), 250.0);
    EXPECT_EQ(paper.GetFullScaleHeight(), 1600); // 40 large squares
    EXPECT_EQ(paper.GetGrid().GetGridSpacing(CDrawGrid::kLevel3).dX, 250.0);

    paper.SetSpeedFactor(10);
    EXPECT_EQ(paper.GetUnitsPerSecX(), 500.0);
    EXPECT_EQ(paper.GetGrid().GetGridSpacing(CDrawGrid::kLevel3).dX, 500.0);
    EXPECT_EQ(paper.SecondsToUnits(0.1), 50);
    paper.SetGainFactor(2.5);
    EXPECT_EQ(paper.GetFullScaleHeight(), 100);
    EXPECT_EQ(paper.GetGrid().GetGridSpacing(CDrawGrid::kLevel2).dY, 40.0);
}

TEST(ECGBasePaper, PushesItsPensToTheDrawers) {
    CECGBasePaper paper(MM_TEXT, 4, 4);
    EXPECT_EQ(paper.GetGrid().GetGridPen(2), (LOGPEN{PS_SOLID, 2, RGB(230, 230, 230)}));
    EXPECT_EQ(paper.GetLine().GetPen(), paper.GetPen(CECGBasePaper::kPenWave));
    EXPECT_EQ(paper.GetCalibration().GetPen(), (LOGPEN{PS_SOLID, 1, RGB(0, 0, 0)}));
}

class DataPaper : public CECGBasePaper {
public:
    DataPaper() : CECGBasePaper(MM_LOMETRIC, 10, 10) {}
    int nDataSetCalls = 0;
    int nLastCount = -1;

protected:
    void OnDataSet(const records::CECGContentsData*, const double*, int nCount) override {
        ++nDataSetCalls;
        nLastCount = nCount;
    }
};

TEST(ECGBasePaper, SetDataCopiesTheSamplesOrNoneAndAlwaysReports) {
    testsupport::TempFolder folder;
    const std::vector<std::uint16_t> samples{0, 1000, 2047, 4095};
    records::CECGContentsData record;
    record.SetPath(folder.Write("d.ecg", records::BuildRecordFile({}, samples, true)));
    record.Load();
    ASSERT_TRUE(record.IsLoaded());

    DataPaper paper;
    paper.SetData(&record);
    ASSERT_EQ(paper.GetSampleCount(), record.GetSampleCount());
    for (int i = 0; i < paper.GetSampleCount(); ++i)
        EXPECT_EQ(paper.GetSamples()[i], record.GetSample(i).value);
    EXPECT_EQ(paper.nLastCount, record.GetSampleCount());

    records::CECGContentsData empty;
    paper.SetData(&empty);
    EXPECT_EQ(paper.GetSampleCount(), 0);
    EXPECT_EQ(paper.nDataSetCalls, 2);
    EXPECT_EQ(paper.nLastCount, 0);
    RecordingDC dc(test::A4PrinterCaps(), true);
    paper.SetDC(&dc);
    EXPECT_EQ(paper.GetLine().DrawStrip({0, 0, 100, -100}, {0, 0, 0, -100}, 100), -1);
    EXPECT_TRUE(dc.Primitives().empty());
}

TEST(ECGBasePaper, FontUsesThePaperFaceAndTheDeviceResolution) {
    CECGBasePaper paper(MM_LOMETRIC, 10, 10);
    RecordingDC printer(test::A4PrinterCaps(), true);
    paper.SetDC(&printer);
    const LOGFONT& font = paper.SetFontSize(100);
    EXPECT_EQ(font.lfFaceName, "Meiryo UI");
    EXPECT_EQ(font.lfHeight, 35);

    RecordingDC screen(test::ScreenCaps(1600, 900), false);
    paper.SetDC(&screen);
    // 10 pt = 13.3 pixels; 1600 pixels show 3200 units.
    EXPECT_EQ(paper.SetFontSize(100).lfHeight, 27);
}

} // namespace
} // namespace render
