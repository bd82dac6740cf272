#include "records/RecordTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>

namespace records {
namespace {

class RecordTime : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "JST-9", 1);
        ::tzset();
    }
};

// Seconds since 1970 of a wall-clock time in UTC+9.
std::int64_t Jst(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    return static_cast<std::int64_t>(::timegm(&tm)) - 9 * 3600;
}

TEST_F(RecordTime, TwelveHourStyles) {
    struct Case {
        std::int64_t time;
        const char* fileName;
        const char* display;
    };
    const Case cases[] = {
        {Jst(2024, 1, 5, 15, 4, 5), "2024_01_05_[03_04_05_PM]", "2024/01/05 03:04:05 PM"},
        {Jst(2024, 1, 5, 0, 30, 0), "2024_01_05_[12_30_00_AM]", "2024/01/05 12:30:00 AM"},
        {Jst(2024, 1, 5, 12, 0, 0), "2024_01_05_[12_00_00_PM]", "2024/01/05 12:00:00 PM"},
        {Jst(2024, 1, 5, 13, 0, 0), "2024_01_05_[01_00_00_PM]", "2024/01/05 01:00:00 PM"},
        {Jst(2025, 3, 1, 9, 15, 0), "2025_03_01_[09_15_00_AM]", "2025/03/01 09:15:00 AM"},
        {0, "1970_01_01_[09_00_00_AM]", "1970/01/01 09:00:00 AM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        EXPECT_EQ(FormatRecordTime(c.time, true), c.fileName);
        EXPECT_EQ(FormatRecordTime(c.time, false), c.display);
    }
}

TEST_F(RecordTime, TimeThatCannotBeConverted) {
    const std::int64_t huge = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(FormatRecordTime(huge, true), "0000_00_00_[-1_-1_-1_AM]");
    EXPECT_EQ(FormatRecordTime(huge, false), "0000/00/00 -1:-1:-1 AM");
}

} // namespace
} // namespace records
