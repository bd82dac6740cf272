// The status-bar texts of one record, from the built-in texts: the 12-hour
// clock, the unknown heart rate and analysis classes outside the table.
#include "app/StatusTexts.h"
#include "platform/ResourceText.h"
#include "records/ECGContentsData.h"
#include "records/RecordBuilder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using testsupport::TempFolder;

// Record times are shown in UTC+9: 2024-01-05 00:00 there (a Friday).
constexpr std::int64_t kMidnightJst = 1704380400;

TEST(StatusTexts, TwelveHourClock) {
    setenv("TZ", "JST-9", 1);
    tzset();
    struct Case {
        int secondsAfterMidnight;
        const char* text;
    };
    const Case cases[] = {
        {0 * 3600 + 15 * 60 + 7, "2024/1/5/(Friday)AM12:15:07•b"},
        {11 * 3600 + 59 * 60 + 59, "2024/1/5/(Friday)AM11:59:59•b"},
        {12 * 3600 + 15 * 60, "2024/1/5/(Friday)PM12:15:00•b"},
        {13 * 3600 + 15 * 60, "2024/1/5/(Friday)PM01:15:00•b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::StatusTimeText(kMidnightJst + c.secondsAfterMidnight), c.text)
            << c.secondsAfterMidnight;
}

TEST(StatusTexts, ResultMessageAndClassesOutsideTheTable) {
    EXPECT_EQ(app::StatusResultText(0), "Message A");
    EXPECT_EQ(app::StatusResultText(12), "Message M");
    EXPECT_EQ(app::StatusResultText(13), "");
    EXPECT_EQ(app::StatusResultText(-1), "");
}

TEST(StatusTexts, PanesOfARecordFile) {
    TempFolder folder;
    const std::vector<std::uint16_t> samples(200, 1024);
    struct Case {
        std::uint16_t heartRate;
        std::uint32_t flags;
        const char* rateText;
        const char* resultText;
    };
    const Case cases[] = {
        {72, 0, "average HR: 72 BPM/sec", "Message A"},
        {0xFFFF, 0x0040, "average HR: Unkown", "Message F"}, // slow rate: class 5
    };
    for (const Case& c : cases) {
        records::RecordFields fields;
        fields.recordedTime = 1704412800;
        fields.heartRate = c.heartRate;
        fields.flags = c.flags;
        const std::string path =
            folder.Write("d2401050900.ecg", records::BuildRecordFile(fields, samples, true));
        records::CECGContentsData record;
        record.SetPath(path);
        record.Load();
        const auto panes = app::StatusPaneTexts(record);
        EXPECT_EQ(panes[1], "model: VTQ-7700S");
        EXPECT_EQ(panes[2], c.rateText);
        EXPECT_EQ(panes[3], c.resultText);
    }
}

} // namespace
