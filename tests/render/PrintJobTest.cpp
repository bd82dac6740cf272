#include "render/PrintJob.h"
#include "tests/render/ReportFixture.h"

#include <gtest/gtest.h>

namespace render {
namespace {

using test::MakeRecord;
using test::TextsOf;

// A printer that keeps the page calls and, per page, what was drawn.
class RecordingPrinter : public IPrintTarget {
public:
    CDC& GetDC() override { return dc; }
    void StartDoc(std::string_view name) override { calls.push_back("doc " + std::string(name)); }
    void StartPage() override {
        calls.push_back("page");
        dc.Clear();
    }
    void EndPage() override {
        calls.push_back("end page");
        pages.push_back(dc.Primitives());
    }
    void EndDoc() override { calls.push_back("end doc"); }

    RecordingDC dc{test::A4PrinterCaps(), true};
    std::vector<std::string> calls;
    std::vector<std::vector<Primitive>> pages;
};

int WaveRight(const std::vector<Primitive>& page) {
    int right = 0;
    for (const Primitive& p : page)
        if (p.kind == Primitive::kLine && p.pen == LOGPEN{PS_SOLID, 2, RGB(0, 0, 0)})
            right = std::max(right, p.points[1].x);
    return right;
}

int CountText(const std::vector<Primitive>& page, std::string_view text) {
    int n = 0;
    for (const Primitive& p : page)
        n += p.kind == Primitive::kText && p.strText == text ? 1 : 0;
    return n;
}

// Strips that carry a trace: each strip's trace is one line from one move.
int TracedStrips(const std::vector<Primitive>& page) {
    int n = 0;
    for (const Primitive& p : page)
        n += p.kind == Primitive::kMoveTo && p.pen == LOGPEN{PS_SOLID, 2, RGB(0, 0, 0)} ? 1 : 0;
    return n;
}

TEST(PrintJob, PrintsOnePagePerRecordInListOrderEachAsItPrintsAlone) {
    testsupport::TempFolder folder;
    records::RecordFields slow;
    slow.heartRate = 60;
    records::RecordFields fast;
    fast.heartRate = 120;
    const auto first = MakeRecord(folder, "d0001.ecg", 1750, slow); // 14 s: two strips
    const auto shorter = MakeRecord(folder, "d0002.ecg", 500, fast);
    const auto longer = MakeRecord(folder, "d0003.ecg", 3750, slow); // 30 s: five strips
    const std::vector<const records::CECGContentsData*> list{first.get(), shorter.get(),
                                                             longer.get()};
    RecordingPrinter printer;
    CPrintManager manager;
    manager.PrintRecords(printer, list, app::CGraphOption{}, 0);

    const std::vector<std::string> expected{"doc Rhythmora - d0001.ecg",
                                            "page",
                                            "end page",
                                            "page",
                                            "end page",
                                            "page",
                                            "end page",
                                            "end doc"};
    EXPECT_EQ(printer.calls, expected);
    ASSERT_EQ(printer.pages.size(), 3u);
    EXPECT_EQ(CountText(printer.pages[0], "60 bpm"), 1);
    EXPECT_EQ(CountText(printer.pages[1], "120 bpm"), 1);
    EXPECT_EQ(CountText(printer.pages[2], "60 bpm"), 1);
    // Each record shows its whole length: 4 s end 1000 units into the first
    // strip, the 30 s after the 14 s fill five strips.
    EXPECT_NEAR(WaveRight(printer.pages[1]), 200 + 1000, 3);
    EXPECT_EQ(TracedStrips(printer.pages[0]), 2);
    EXPECT_EQ(TracedStrips(printer.pages[1]), 1);
    EXPECT_EQ(TracedStrips(printer.pages[2]), 5);

    // Every page is exactly the page its record gets when printed alone.
    for (std::size_t i = 0; i < list.size(); ++i) {
        RecordingPrinter alone;
        CPrintManager single;
        single.PrintRecords(alone, std::span(&list[i], 1), app::CGraphOption{}, 0);
        ASSERT_EQ(alone.pages.size(), 1u);
        EXPECT_TRUE(alone.pages[0] == printer.pages[i]) << "page " << i;
    }
}

TEST(PrintJob, AnEmptyListStartsAndEndsAnEmptyDocument) {
    RecordingPrinter printer;
    CPrintManager manager;
    manager.PrintRecords(printer, {}, app::CGraphOption{}, 1);
    const std::vector<std::string> expected{"doc Rhythmora", "end doc"};
    EXPECT_EQ(printer.calls, expected);
}

} // namespace
} // namespace render
