#include "render/ReportPaper.h"
#include "platform/ResourceText.h"
#include "render/DrawCalibration.h"
#include "render/DrawLine.h"
#include "tests/render/ReportFixture.h"

#include <gtest/gtest.h>

#include <ctime>

namespace render {
namespace {

using test::MakeRecord;
using test::TextsOf;

class ReportPaperTest : public ::testing::Test {
protected:
    void SetUp() override { tzset(); }
    void TearDown() override { tzset(); }

    // SetDC, SetData, layout again from the record, as the print job does.
    void Load(const records::CECGContentsData* record) {
        paper.SetData(record);
        paper.SetDC(&dc);
    }
    void Print(CPrintInfo* info = nullptr) {
        paper.SetPrintInfo(info);
        dc.Clear();
        paper.Draw();
    }
    // Lines drawn with the waveform pen.
    int WaveSegments() const {
        int n = 0;
        for (const Primitive& p : dc.OfKind(Primitive::kLine))
            n += p.pen == LOGPEN{PS_SOLID, 2, RGB(0, 0, 0)} ? 1 : 0;
        return n;
    }

    testsupport::ScopedEnv tz{"TZ", std::string("JST-9")};
    testsupport::TempFolder folder;
    RecordingDC dc{test::A4PrinterCaps(), true};
    CPrintPaper paper;
};

TEST_F(ReportPaperTest, LaysOutTheFixedAreasAndFiveStripsOfAThirtySecondWindow) {
    const auto record = MakeRecord(folder, "d.ecg", 3750);
    Load(record.get());
    EXPECT_EQ(paper.GetWindowStart(), 0);
    EXPECT_EQ(paper.GetWindowEnd(), 3750);
    EXPECT_EQ(paper.GetSamplesPerStrip(), 875.0);
    ASSERT_EQ(paper.GetStripCount(), 5);
    const std::vector<RECT> areas{{200, -70, 1950, -134},    {200, -300, 1950, -960},
                                  {200, -230, 780, -270},    {200, -170, 920, -210},
                                  {200, -980, 1950, -2780},  {200, -134, 1950, -980},
                                  {200, -2790, 1950, -2878}, {200, -980, 1950, -1130}};
    ASSERT_EQ(paper.GetAreaCount(), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(paper.GetAreaRect(i), areas[static_cast<std::size_t>(i)]) << "area " << i;
    const std::vector<RECT> strips{{200, -1030, 1950, -1330},
                                   {200, -1380, 1950, -1680},
                                   {200, -1730, 1950, -2030},
                                   {200, -2080, 1950, -2380},
                                   {200, -2430, 1950, -2730}};
    for (int s = 0; s < 5; ++s) {
        EXPECT_EQ(paper.GetStripRect(s), strips[static_cast<std::size_t>(s)]);
        EXPECT_EQ(paper.GetStripStart(s), s * 875);
    }
    Print();
    EXPECT_EQ(paper.GetAreaCount(), 13);
    EXPECT_GT(WaveSegments(), 0);
    // The last strip holds two seconds: its trace, which starts with a move
    // to the strip's left edge, ends 500 units in.
    const LOGPEN wave{PS_SOLID, 2, RGB(0, 0, 0)};
    int lastStripRight = 0;
    for (const Primitive& p : dc.Primitives()) {
        if (p.kind == Primitive::kMoveTo && p.pen == wave && p.points[0].x == 200)
            lastStripRight = 0;
        else if (p.kind == Primitive::kLine && p.pen == wave)
            lastStripRight = std::max(lastStripRight, p.points[1].x);
    }
    EXPECT_NEAR(lastStripRight, 200 + 500, 3);
}

TEST_F(ReportPaperTest, SevenSecondsMakeOneStripAndOneSampleMoreMakesTwo) {
    for (const auto& [count, strips] : {std::pair{875, 1}, std::pair{876, 2}, std::pair{1, 1}}) {
        const auto record = MakeRecord(folder, "d.ecg", count);
        Load(record.get());
        EXPECT_EQ(paper.GetStripCount(), strips) << count << " samples";
    }
}

TEST_F(ReportPaperTest, AWindowLongerThanFiveStripsIsCutAtTheFifthRow) {
    records::RecordFields fields;
    fields.sampleRate = 100; // 4375 samples: 43.75 s, seven strips' worth
    const auto record = MakeRecord(folder, "d.ecg", 4375, fields);
    Load(record.get());
    EXPECT_EQ(paper.GetStripCount(), 5);
    Print();
    EXPECT_EQ(paper.GetAreaCount(), 8 + 5);
}

// The label, the 1 mV pulse and a 1 mV step of the trace agree, measured
// in millimetres of the drawn page.
TEST_F(ReportPaperTest, EachSensitivityDrawsWhatItsLabelSays) {
    struct Case {
        int index;
        double mmPerMv;
        const char* label; // nullptr: no scale line
    };
    const auto record = test::MakeStepRecord(folder, "d.ecg");
    const double millivolts = test::StepMillivolts(*record);
    ASSERT_NEAR(millivolts, 1.0, 0.02);
    for (const Case& c : {Case{0, 20, "20mm/mV"}, Case{1, 10, "10mm/mV"}, Case{2, 5, "5mm/mV"},
                          Case{7, 10, nullptr}}) {
        paper.SetSensitivity(c.index);
        Load(record.get());
        Print();
        const test::DrawnScale drawn =
            test::MeasureScale(dc.Primitives(), 10.0, LOGPEN{PS_SOLID, 2, RGB(0, 0, 0)},
                               LOGPEN{PS_SOLID, 2, RGB(95, 95, 95)}, millivolts);
        EXPECT_DOUBLE_EQ(drawn.pulseMm, c.mmPerMv) << c.index;
        EXPECT_NEAR(drawn.traceMmPerMv, c.mmPerMv, 0.2) << c.index;
        EXPECT_EQ(drawn.scaleLine, test::ScaleLine(c.label)) << c.index;
        // The pulse hangs from the top-left corner of the waveform area.
        const auto pulse = dc.OfKind(Primitive::kPolyline);
        ASSERT_EQ(pulse.size(), 1u);
        EXPECT_EQ(pulse[0].points.front(), (POINT{200, -980 - static_cast<int>(c.mmPerMv * 10)}));
        EXPECT_EQ(pulse[0].points[2], (POINT{216, -980}));
        EXPECT_EQ(paper.GetAreaRect(CPrintPaper::kAreaCalibration).bottom,
                  -980 - static_cast<int>(c.mmPerMv * 10 + 50));
    }
}

TEST_F(ReportPaperTest, HeartRatePrintsOnlyInsideThirtyToTwoHundred) {
    for (const auto& [rate, text] : {std::pair{29, "-- bpm"}, std::pair{30, "30 bpm"},
                                     std::pair{200, "200 bpm"}, std::pair{201, "-- bpm"}}) {
        records::RecordFields fields;
        fields.heartRate = static_cast<std::uint16_t>(rate);
        const auto record = MakeRecord(folder, "d.ecg", 100, fields);
        Load(record.get());
        Print();
        const auto found = TextsOf(dc, text);
        ASSERT_EQ(found.size(), 1u) << rate;
        EXPECT_EQ(found[0].rc, (RECT{365, -230, 780, -270}));
    }
}

TEST_F(ReportPaperTest, TitleShowsTheLocalDateOrTheUndatedMark) {
    records::RecordFields fields;
    fields.recordedTime = 1704412800; // 2024-01-05 00:00 UTC, a Friday: 09:00 in JST
    const auto dated = MakeRecord(folder, "d.ecg", 100, fields);
    Load(dated.get());
    Print();
    EXPECT_EQ(TextsOf(dc, "2024/01/05(Friday) 09:00").size(), 1u);
    EXPECT_EQ(TextsOf(dc, "心電図データ").size(), 1u);
    EXPECT_EQ(TextsOf(dc, "名前").size(), 1u);

    fields.kindByte = 0;
    const auto undated = MakeRecord(folder, "u.ecg", 100, fields);
    Load(undated.get());
    Print();
    EXPECT_EQ(TextsOf(dc, "----/--/--(-) --:--").size(), 1u);
}

TEST_F(ReportPaperTest, ContactBoxOnlyForANonzeroEvenValue) {
    for (const auto& [value, boxes] : {std::pair{0, 0u}, std::pair{1, 0u}, std::pair{2, 1u}}) {
        records::RecordFields fields;
        fields.deviceValueByte = static_cast<std::uint8_t>(value);
        const auto record = MakeRecord(folder, "d.ecg", 100, fields);
        Load(record.get());
        Print();
        EXPECT_EQ(dc.OfKind(Primitive::kRoundRect).size(), boxes) << value;
        EXPECT_EQ(TextsOf(dc, "接触状態ＮＧ").size(), boxes) << value;
    }
}

TEST_F(ReportPaperTest, DateAndContactBoxFollowTheMeasuredWidths) {
    paper.SetTextMeasure(
        [](std::string_view text, const LOGFONT&) { return static_cast<int>(text.size()) * 10; });
    records::RecordFields fields;
    fields.recordedTime = 1704412800;
    fields.deviceValueByte = 2;
    const auto record = MakeRecord(folder, "d.ecg", 100, fields);
    Load(record.get());
    Print();
    // The title is 18 bytes (180 units), the date 24 (240 units).
    const auto date = TextsOf(dc, "2024/01/05(Friday) 09:00");
    ASSERT_EQ(date.size(), 1u);
    EXPECT_EQ(date[0].rc, (RECT{410, -74, 1950, -131}));
    const auto box = dc.OfKind(Primitive::kRoundRect);
    ASSERT_EQ(box.size(), 1u);
    EXPECT_EQ(box[0].rc, (RECT{680, -101, 880, -131}));
    EXPECT_EQ(box[0].brush, RGB(242, 242, 242));
    EXPECT_EQ(box[0].pen.lopnStyle, PS_NULL);
}

TEST_F(ReportPaperTest, MemoFormWithoutSelectionsAndWithCircles) {
    auto record = MakeRecord(folder, "d.ecg", 100);
    Load(record.get());
    Print();
    EXPECT_TRUE(dc.OfKind(Primitive::kEllipse).empty());
    const auto bitmaps = dc.OfKind(Primitive::kBitmap);
    ASSERT_EQ(bitmaps.size(), 1u);
    EXPECT_EQ(bitmaps[0].nFormat, 255u);
    EXPECT_EQ(bitmaps[0].rc, (RECT{1550, -576, 1914, -826}));
    for (unsigned id : {62210u, 62240u, 62270u, 62272u})
        EXPECT_EQ(TextsOf(dc, platform::LoadText(id)).size(), 1u) << id;
    int separators = 0;
    for (const Primitive& p : dc.OfKind(Primitive::kLine)) {
        const int y = p.points[0].y;
        if (p.pen.lopnWidth == 3 && p.points[1].y == y && (y == -939 || y == -607 || y == -938))
            ++separators;
    }
    EXPECT_EQ(separators, 3);

    record->SetSituation(0x004); // option 3, row 2
    record->SetSymptoms(0x201);  // options 1 and 10, rows 10 and 19
    record->SetPosition(0x80);   // option 8, row 27
    record->SetPosture(0x3);     // not a single option: nothing chosen
    record->SetSituationText("walking");
    Load(record.get());
    Print();
    std::vector<RECT> circles;
    for (const Primitive& p : dc.OfKind(Primitive::kEllipse)) {
        EXPECT_EQ(p.pen, (LOGPEN{PS_SOLID, 5, RGB(0, 0, 0)}));
        circles.push_back(p.rc);
    }
    const std::vector<RECT> expected{{543, -752, 579, -788},
                                     {193, -420, 229, -456},
                                     {193, -620, 229, -656},
                                     {1148, -828, 1184, -864}};
    EXPECT_EQ(circles, expected);
    const auto free = TextsOf(dc, "walking");
    ASSERT_EQ(free.size(), 1u);
    EXPECT_EQ(free[0].rc, (RECT{320, -903, 1120, -936}));
}

// Labels as wide as a real language's push the free texts right: each
// starts after its label on the line drawn for it and is cut to that line.
TEST_F(ReportPaperTest, FreeTextsStartAfterTheirLabelAndAreCutToTheirLine) {
    // Every character 4 mm wide: "10..." ends at 400, "9..." at 360.
    paper.SetTextMeasure([](std::string_view text, const LOGFONT&) {
        int characters = 0;
        for (const char c : text)
            characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
        return characters * 40;
    });
    auto record = MakeRecord(folder, "d.ecg", 100);
    record->SetSituationText("walking up the hill to the station");
    record->SetSymptomText("dizzy");
    Load(record.get());
    Print();

    // The situation line runs from 410 to 1120: 700 units hold 16
    // characters and the ellipsis.
    const auto situation = TextsOf(dc, "walking up the h\u2026");
    ASSERT_EQ(situation.size(), 1u);
    EXPECT_EQ(situation[0].rc, (RECT{420, -903, 1120, -936}));
    const auto symptom = TextsOf(dc, "dizzy");
    ASSERT_EQ(symptom.size(), 1u);
    EXPECT_EQ(symptom[0].rc, (RECT{380, -570, 1110, -603}));

    // Each line starts 1 mm after its label.
    std::vector<std::pair<int, int>> lines;
    for (const Primitive& p : dc.OfKind(Primitive::kLine))
        if (p.pen.lopnWidth == 3 && (p.points[0].y == -939 || p.points[0].y == -607))
            lines.emplace_back(p.points[0].x, p.points[1].x);
    EXPECT_EQ(lines, (std::vector<std::pair<int, int>>{{410, 1120}, {370, 1110}}));
}

TEST_F(ReportPaperTest, MemoSettersReplaceTheirGroupAndIgnoreOptionsOutsideIt) {
    paper.SetSituationChoice(3, 1);
    paper.SetSituationChoice(5, 1);
    paper.SetSituationChoice(11, 1);
    paper.SetSymptomChoice(1, 1);
    paper.SetSymptomChoice(2, 1);
    paper.SetPostureChoice(0, 1);
    EXPECT_EQ(paper.GetChoice(2), 0);
    EXPECT_EQ(paper.GetChoice(4), 1);
    EXPECT_EQ(paper.GetChoice(10) + paper.GetChoice(11), 2);
    EXPECT_EQ(paper.GetChoice(28) + paper.GetChoice(29) + paper.GetChoice(30), 0);
}

TEST_F(ReportPaperTest, APageOutsideThePageTableDrawsNoStripsMemoOrGrid) {
    const auto record = MakeRecord(folder, "d.ecg", 3750);
    Load(record.get());
    CPrintInfo info;
    info.m_nCurPage = 2;
    Print(&info);
    EXPECT_EQ(info.m_nMaxPage, 1);
    EXPECT_TRUE(info.m_bDirect);
    EXPECT_EQ(paper.GetCurrentPage(), -1);
    EXPECT_EQ(WaveSegments(), 0);
    EXPECT_TRUE(dc.OfKind(Primitive::kPolyline).empty());
    EXPECT_TRUE(dc.OfKind(Primitive::kBitmap).empty());
    EXPECT_TRUE(TextsOf(dc, "心拍数：").empty());
    // The title and footer belong to every page.
    EXPECT_EQ(TextsOf(dc, "心電図データ").size(), 1u);
}

TEST_F(ReportPaperTest, ARecordWithoutSamplesPrintsThePageWithoutATrace) {
    const auto empty = MakeRecord(folder, "e.ecg", 0);
    Load(empty.get());
    EXPECT_EQ(paper.GetStripCount(), 0);
    Print();
    EXPECT_EQ(WaveSegments(), 0);
    EXPECT_EQ(TextsOf(dc, "心電図データ").size(), 1u);

    const auto next = MakeRecord(folder, "d.ecg", 875);
    Load(next.get());
    Print();
    EXPECT_GT(WaveSegments(), 0);
}

// Every point and rectangle of a Letter page, at the tallest sensitivity
// and with every part of the page shown, lies at least 6 mm inside the
// paper, and the footer is drawn whole below the fifth strip.
TEST_F(ReportPaperTest, OnLetterEveryPrimitiveLiesInsideThePage) {
    app::CGraphOption option;
    option.paperSize = 1;
    paper.SetGraphOption(option);
    paper.SetSensitivity(CPrintPaper::kSensitivity20);
    records::RecordFields fields;
    fields.deviceValueByte = 2; // the contact box
    std::vector<std::uint16_t> samples(3750, 1024);
    for (std::size_t i = 0; i < samples.size(); i += 125)
        samples[i] = i % 250 == 0 ? 2000 : 40; // spikes far past every strip
    auto record = std::make_unique<records::CECGContentsData>();
    record->SetPath(folder.Write("l.ecg", records::BuildRecordFile(fields, samples, true)));
    record->Load();
    record->SetSituation(0x200);
    record->SetSymptoms(0x3FF);
    record->SetSituationText("walking up the hill to the station");
    record->SetSymptomText("dizzy and short of breath all day");

    RecordingDC letter({5100, 6600, 215, 279, 600}, true);
    paper.SetData(record.get());
    paper.SetDC(&letter);
    letter.Clear();
    paper.Draw();
    ASSERT_EQ(paper.GetStripCount(), 5);

    constexpr int kWidth = 2159, kHeight = 2794, kMargin = 60;
    const auto inside = [&](int x, int y) {
        return x >= kMargin && x <= kWidth - kMargin && y <= -kMargin && y >= -(kHeight - kMargin);
    };
    for (const Primitive& p : letter.Primitives()) {
        for (const POINT& pt : p.points)
            EXPECT_TRUE(inside(pt.x, pt.y)) << p.kind << " at " << pt.x << "," << pt.y;
        if (p.points.empty()) {
            EXPECT_TRUE(inside(p.rc.left, p.rc.top) && inside(p.rc.right, p.rc.bottom))
                << p.kind << " " << p.strText << " in " << p.rc.left << "," << p.rc.top << ","
                << p.rc.right << "," << p.rc.bottom;
        }
    }
    const RECT lastStrip = paper.GetStripRect(4);
    const RECT footer = paper.GetAreaRect(CPrintPaper::kAreaFooter);
    EXPECT_LT(footer.top, lastStrip.bottom);
    for (const char* text : {"ドクターコメント", "Copyright (C) Torvane. All rights reserved."}) {
        const auto found = TextsOf(letter, text);
        ASSERT_EQ(found.size(), 1u) << text;
        EXPECT_LE(found[0].rc.top, footer.top) << text;
    }
    EXPECT_EQ(TextsOf(letter, test::ScaleLine("20mm/mV")).size(), 1u);
}

TEST_F(ReportPaperTest, PaperRectangleFollowsPaperSizeDeviceAndMargins) {
    app::CGraphOption option;
    option.paperSize = 1; // Letter on a 210 x 297 mm printable device
    option.margins = {10, 20, 30, 40};
    paper.SetGraphOption(option);
    Load(nullptr);
    // mx = (2160 - 2100) / 2, my = (2794 - 2970) / 2
    EXPECT_EQ(paper.GetPaperRect(), (RECT{40, -118, 2110, -2754}));
}

} // namespace
} // namespace render
