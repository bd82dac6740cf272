#include "records/AnalysisClass.h"
#include "records/ECGContentsData.h"

#include "Fixtures.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace records {
namespace {

// One flag bit of each indicator's group.
constexpr std::uint32_t kI1 = 0x0020, kI2 = 0x0040, kI3 = 0x0200, kI4 = 0x0100, kI5 = 0x4000;

struct ClassRow {
    std::uint32_t flags;
    int cls;
    int severity;
};

// Every combination of I1-I4 without I5.
const ClassRow kWithoutI5[] = {
    {0, 0, 0},
    {kI1, 1, 1},
    {kI1 | kI3, 2, 2},
    {kI1 | kI4, 3, 2},
    {kI1 | kI3 | kI4, 4, 2},
    {kI2, 5, 1},
    {kI2 | kI3, 6, 2},
    {kI2 | kI4, 7, 2},
    {kI2 | kI3 | kI4, 8, 2},
    {kI3, 9, 2},
    {kI3 | kI4, 10, 2},
    {kI4, 11, 2},
    {kI1 | kI2, 12, 1},
    {kI1 | kI2 | kI3, 12, 2},
    {kI1 | kI2 | kI4, 12, 2},
    {kI1 | kI2 | kI3 | kI4, 12, 2},
};

TEST(AnalysisClass, TableOfAllIndicatorCombinations) {
    for (const ClassRow& row : kWithoutI5) {
        SCOPED_TRACE(row.flags);
        const AnalysisIndicators ind = IndicatorsFromFlags(row.flags);
        EXPECT_EQ(AnalysisClassOf(ind), row.cls);
        EXPECT_EQ(SeverityOf(ind), row.severity);

        const AnalysisIndicators withI5 = IndicatorsFromFlags(row.flags | kI5);
        EXPECT_EQ(AnalysisClassOf(withI5), 12);
        EXPECT_EQ(SeverityOf(withI5), 3);
    }
}

TEST(AnalysisClass, EveryFlagBitOfEachGroup) {
    struct Group {
        std::uint32_t mask;
        bool AnalysisIndicators::*indicator;
    };
    const Group groups[] = {{0x0020, &AnalysisIndicators::fastRate},
                            {0x0040, &AnalysisIndicators::slowRate},
                            {0x0291, &AnalysisIndicators::irregularBeats},
                            {0x010E, &AnalysisIndicators::irregularWave},
                            {0x7800, &AnalysisIndicators::notAnalysable}};
    for (unsigned bit = 0; bit < 32; ++bit) {
        const AnalysisIndicators ind = IndicatorsFromFlags(1u << bit);
        for (const Group& g : groups) {
            EXPECT_EQ(ind.*g.indicator, (g.mask >> bit & 1) != 0) << "bit " << bit;
        }
    }
}

TEST(AnalysisClass, LoadedRecordReportsItsClass) {
    testsupport::TempFolder dir;
    const std::string path = dir.File("a.ecg");
    testsupport::WriteFile(path, test::ValidRecord(24, true, {.flags = 0x0020 | 0x0001}));
    CECGContentsData record;
    record.SetPath(path);
    record.Load();
    EXPECT_EQ(record.GetAnalysisClass(), 2);
    EXPECT_EQ(record.GetSeverity(), 2);
    const bool expected[] = {false, true, false, true, false, false, false};
    for (int i = 0; i <= 6; ++i) {
        EXPECT_EQ(record.GetIndicator(i), expected[i]) << i;
    }
}

} // namespace
} // namespace records
