#include "render/PreviewPaper.h"
#include "app/ECGFramework.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "records/RecordBuilder.h"
#include "render/DrawGrid.h"
#include "render/DrawLine.h"
#include "support/TempFolder.h"
#include "tests/render/PaperHarness.h"

#include <gtest/gtest.h>

#include <time.h>

#include <algorithm>
#include <string>
#include <vector>

namespace render {
namespace {

// 12-bit device values that decode to the given 11-bit sample values.
std::uint16_t Raw(int decoded) {
    for (int raw = 0; raw < 4096; ++raw)
        if ((raw * 9757 / 10000) == decoded)
            return static_cast<std::uint16_t>(raw);
    ADD_FAILURE() << "no raw value for " << decoded;
    return 0;
}

class PreviewPaperTest : public ::testing::Test {
protected:
    PreviewPaperTest() : m_tz("TZ", "JST-9"), dc(test::ScreenCaps()), paper(5, 5) { ::tzset(); }

    records::CECGContentsData& Record(const records::RecordFields& fields,
                                      const std::vector<int>& decoded = {1000, 1000}) {
        std::vector<std::uint16_t> samples;
        for (int v : decoded)
            samples.push_back(Raw(v));
        auto& record = m_records.emplace_back(std::make_unique<records::CECGContentsData>());
        record->SetPath(folder.Write("d" + std::to_string(m_records.size()) + ".ecg",
                                     records::BuildRecordFile(fields, samples, true)));
        record->Load();
        EXPECT_TRUE(record->IsLoaded());
        return *record;
    }

    // The view's sequence for one thumbnail.
    void DrawThumbnail(const records::CECGContentsData& record) {
        paper.SetData(&record);
        paper.SetDC(&dc);
        dc.Clear();
        paper.Draw();
    }

    std::vector<Primitive> Texts() const { return dc.OfKind(Primitive::kText); }
    std::optional<Primitive> Text(std::string_view text) const {
        for (const auto& p : Texts())
            if (p.strText == text)
                return p;
        return std::nullopt;
    }
    std::optional<Primitive> Bitmap(unsigned id) const {
        for (const auto& p : dc.OfKind(Primitive::kBitmap))
            if (p.nFormat == id)
                return p;
        return std::nullopt;
    }

    testsupport::ScopedEnv m_tz;
    testsupport::TempFolder folder;
    std::vector<std::unique_ptr<records::CECGContentsData>> m_records;
    RecordingDC dc;
    CPreviewPaper paper;
};

TEST_F(PreviewPaperTest, SizesItselfFromTheReferenceTextAndThirtySeconds) {
    paper.SetDC(&dc);
    EXPECT_EQ(paper.GetFullScaleHeight(), 140);
    EXPECT_GT(paper.GetTextWidth(), 0);
    EXPECT_GT(paper.GetTextHeight(), 0);
    const int label = paper.GetLabelWidth();
    EXPECT_EQ(label, paper.GetTextWidth() + 6);
    EXPECT_EQ(paper.GetPaperRect(), (RECT{0, 0, label + 3750 + 6, 144}));
    EXPECT_EQ(paper.GetAreaRect(paper.GetInfoArea()), (RECT{0, 0, label, 144}));
    EXPECT_EQ(paper.GetAreaRect(paper.GetWaveArea()), (RECT{label, 0, label + 3756, 144}));
    EXPECT_EQ(paper.GetGrid().GetGridPen(CDrawGrid::kLevel3),
              (LOGPEN{PS_SOLID, 2, RGB(221, 221, 221)}));
}

TEST(PreviewPaperLines, AnalysisClassesGiveTheirLines) {
    const auto text = [](unsigned id) { return platform::LoadText(id); };
    struct Case {
        int analysisClass;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases{
        {0, {"", text(62020)}},
        {1, {"", text(62021)}},
        {2, {text(62021), text(62029)}},
        {3, {text(62021), text(62031)}},
        {4, {text(62021), text(62029), text(62031)}},
        {5, {"", text(62025)}},
        {6, {text(62025), text(62029)}},
        {7, {text(62025), text(62031)}},
        {8, {text(62025), text(62029), text(62031)}},
        {9, {"", text(62029)}},
        {10, {text(62029), text(62031)}},
        {11, {"", text(62031)}},
        {12, {"", text(62032)}},
        {13, {}},
        {-1, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CPreviewPaper::AnalysisLines(c.analysisClass), c.lines)
            << "class " << c.analysisClass;
}

TEST_F(PreviewPaperTest, DrawsTheAnalysisLinesOnTheirRows) {
    // Fast rate with irregular beats and waveform: class 4, three lines.
    DrawThumbnail(Record({.flags = 0x0020 | 0x0001 | 0x0002}));
    const int right = paper.GetLabelWidth();
    const auto first = Text(platform::LoadText(62021));
    const auto third = Text(platform::LoadText(62031));
    ASSERT_TRUE(first && third);
    EXPECT_EQ(first->rc, (RECT{46, 42, right, 62}));
    EXPECT_EQ(third->rc, (RECT{46, 90, right, 110}));
    EXPECT_EQ(first->font.lfFaceName, "Meiryo UI");
    EXPECT_EQ(first->font.lfHeight, 16);
    EXPECT_EQ(first->colour, RGB(0, 0, 0));

    // Irregular beats only (class 9): the first row stays empty.
    DrawThumbnail(Record({.flags = 0x0001}));
    const auto second = Text(platform::LoadText(62029));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->rc.top, 66);
}

TEST_F(PreviewPaperTest, DateLineInLocalTimeOrDashes) {
    // 2024-03-05 01:02:03 UTC is Tuesday 10:02 in UTC+9.
    DrawThumbnail(Record({.recordedTime = 1709600523}));
    const std::string expected = "2024/3/5/(" + platform::LoadText(62002) + ") 10:02";
    const auto date = Text(expected);
    ASSERT_TRUE(date);
    EXPECT_EQ(date->rc, (RECT{46, 8, paper.GetLabelWidth(), 36}));
    EXPECT_EQ(date->nFormat, unsigned{DT_LEFT | DT_VCENTER | DT_SINGLELINE});
    EXPECT_EQ(date->colour, RGB(108, 108, 108));
    EXPECT_EQ(date->font, (LOGFONT{"Segoe UI", 14, FW_NORMAL, false}));

    DrawThumbnail(Record({.recordedTime = 1709600523, .kindByte = 0}));
    EXPECT_TRUE(Text("----/--/--(-) --:--"));
    EXPECT_FALSE(Text(expected));
}

TEST_F(PreviewPaperTest, NewRecordDotFollowsTheDateOnlyForPathsOfTheImport) {
    auto& fresh = Record({.recordedTime = 1709600523});
    auto& old = Record({.recordedTime = 1709600523});
    app::CECGFramework framework;
    framework.AppendNewPath(fresh.GetPath());

    DrawThumbnail(fresh);
    EXPECT_FALSE(Bitmap(314)) << "no framework, nothing is new";

    paper.SetFramework(&framework);
    DrawThumbnail(fresh);
    const auto dot = Bitmap(314);
    ASSERT_TRUE(dot);
    EXPECT_EQ(dot->rc.top, 16);
    EXPECT_EQ(dot->rc.bottom, 28);
    EXPECT_EQ(dot->rc.right - dot->rc.left, 12);
    EXPECT_GT(dot->rc.left, 54) << "placed after the date text";

    DrawThumbnail(old);
    EXPECT_FALSE(Bitmap(314));
}

TEST_F(PreviewPaperTest, SeverityBarAndPrintMark) {
    struct Case {
        std::uint32_t flags;
        COLORREF colour;
    };
    for (const auto& c : {Case{0, RGB(255, 255, 255)}, Case{0x0040, RGB(255, 116, 116)},
                          Case{0x0100, RGB(223, 47, 47)}, Case{0x0800, RGB(96, 96, 96)}}) {
        DrawThumbnail(Record({.flags = c.flags}));
        const auto fills = dc.OfKind(Primitive::kFillRect);
        const auto bar = std::find_if(fills.begin(), fills.end(), [](const Primitive& p) {
            return p.rc == RECT{4, 4, 10, 140};
        });
        ASSERT_NE(bar, fills.end());
        EXPECT_EQ(bar->colour, c.colour) << "flags " << c.flags;
    }

    auto& record = Record({});
    DrawThumbnail(record);
    ASSERT_TRUE(Bitmap(316));
    EXPECT_EQ(Bitmap(316)->rc, (RECT{14, 8, 42, 36}));
    record.ToggleChecked();
    DrawThumbnail(record);
    EXPECT_TRUE(Bitmap(315));
    EXPECT_FALSE(Bitmap(316));
}

TEST_F(PreviewPaperTest, HeartRateOnlyInsideThePlausibleRange) {
    struct Case {
        std::uint16_t rate;
        bool shown;
    };
    for (const auto& c : {Case{29, false}, Case{30, true}, Case{200, true}, Case{201, false}}) {
        DrawThumbnail(Record({.heartRate = c.rate}));
        const std::string value =
            c.shown ? platform::FormatText(platform::LoadText(62092), {std::int64_t{c.rate}})
                    : "--";
        const auto text = Text(value);
        ASSERT_TRUE(text) << "rate " << c.rate;
        EXPECT_EQ(text->rc, (RECT{66, 118, paper.GetLabelWidth(), 134}));
        EXPECT_EQ(text->font.lfWeight, FW_BOLD);
        const auto unit = Text("bpm");
        ASSERT_TRUE(unit);
        EXPECT_GT(unit->rc.left, 70);
        EXPECT_EQ(unit->rc.top, 120);
        EXPECT_EQ(unit->font.lfHeight, 12);
    }
    EXPECT_EQ(Bitmap(279)->rc, (RECT{46, 116, 62, 132}));
}

TEST_F(PreviewPaperTest, ContactBoxOnlyForNonzeroEvenValues) {
    for (std::uint8_t value : {0, 3, 4}) {
        DrawThumbnail(Record({.deviceValueByte = value}));
        const auto boxes = dc.OfKind(Primitive::kRoundRect);
        if (value != 4) {
            EXPECT_TRUE(boxes.empty()) << int{value};
            EXPECT_FALSE(Bitmap(327));
            continue;
        }
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].rc, (RECT{135, 112, 235, 136}));
        EXPECT_EQ(boxes[0].brush, RGB(242, 242, 242));
        EXPECT_EQ(boxes[0].pen.lopnStyle, PS_NULL);
        EXPECT_EQ(boxes[0].nCornerX, 10);
        const auto text = Text("接触状態NG");
        ASSERT_TRUE(text);
        EXPECT_EQ(text->rc, (RECT{155, 112, 235, 136}));
        EXPECT_EQ(text->colour, RGB(108, 108, 108));
        EXPECT_EQ(text->font, paper.GetFont());
        EXPECT_EQ(Bitmap(327)->rc, (RECT{137, 114, 157, 134}));
    }
    // The column leaves the device context's font and colour as it found them.
    EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetFont(), LOGFONT{});
}

TEST_F(PreviewPaperTest, CentreLeavesOutRangeMarkersAndTraceIsOnePixelPerSample) {
    // 0 and 2047 are out-of-range markers: the centre is (100 + 300) / 2.
    DrawThumbnail(Record({}, {200, 300, 100, 0, 2047}));
    EXPECT_EQ(paper.GetLine().GetCenter(), 200.0);
    std::vector<POINT> trace;
    for (const auto& p : dc.Primitives()) {
        if (p.pen == paper.GetPen(CECGBasePaper::kPenWave) &&
            (p.kind == Primitive::kMoveTo || p.kind == Primitive::kLine))
            trace.push_back(p.points.back());
    }
    const int left = paper.GetLabelWidth() + 3;
    // Strip 2..142, middle 72; 488 pixels per 1000 sample units; cut at the strip.
    EXPECT_EQ(trace,
              (std::vector<POINT>{
                  {left, 72}, {left + 1, 24}, {left + 2, 120}, {left + 3, 142}, {left + 4, 2}}));

    // All zero: low 0 and the highest non-2047 value (0), centre 0.
    DrawThumbnail(Record({}, {0, 0, 0}));
    EXPECT_EQ(paper.GetLine().GetCenter(), 0.0);
}

TEST_F(PreviewPaperTest, RecordWithoutSamplesDrawsTheGridAndNoTrace) {
    records::CECGContentsData empty;
    DrawThumbnail(empty);
    const auto waveLines = [&] {
        int n = 0;
        for (const auto& p : dc.OfKind(Primitive::kLine))
            n += p.pen == paper.GetPen(CECGBasePaper::kPenWave);
        return n;
    };
    EXPECT_EQ(waveLines(), 0);
    EXPECT_FALSE(dc.OfKind(Primitive::kLine).empty()) << "the grid is drawn";
    EXPECT_TRUE(Text("--")) << "no heart rate";

    paper.SetData(nullptr);
    dc.Clear();
    paper.Draw();
    EXPECT_EQ(waveLines(), 0);
}

} // namespace
} // namespace render
