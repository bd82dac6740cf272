#include "device/sim/SimRecording.h"
#include "device/DeviceClock.h"
#include "device/sim/SimCard.h"
#include "records/ECGContentsData.h"
#include "records/RecordFormat.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <set>
#include <string>
#include <vector>

using namespace device::sim;

namespace {

// 2026-01-02 03:04:05 in UTC+9.
constexpr std::int64_t kRecorded = 1767290645;

// The record file an import writes for the block (without the memo).
std::string RecordFileOf(const RecordBlock& block) {
    const std::span<const std::uint8_t> b(block);
    const std::uint32_t n = records::ReadLe32(b, 18);
    const std::size_t area = records::SampleAreaSize(n);
    std::vector<std::uint8_t> file(60, 0);
    std::copy(block.begin(), block.begin() + 8, file.begin());
    const auto time =
        device::DeviceClockToTime(std::span<const std::uint8_t, 6>(block.data() + 8, 6));
    records::WriteLe32(file, 8, static_cast<std::uint32_t>(time.value_or(0)));
    std::copy(block.begin() + 14, block.begin() + 22, file.begin() + 12);
    std::copy(block.begin() + 22, block.begin() + 38, file.begin() + 40);
    std::uint16_t checksum = records::SampleChecksum(b.subspan(kBlockSampleOffset, area));
    if (!BlockCheckMatches(block))
        checksum = static_cast<std::uint16_t>(~checksum);
    records::WriteLe16(file, 58, checksum);
    file.insert(file.end(), block.begin() + kBlockSampleOffset,
                block.begin() + static_cast<long>(kBlockSampleOffset + area));
    while (file.size() % 16 != 0)
        file.push_back(0xFF);
    return std::string(file.begin(), file.end());
}

// R peaks: the highest sample of each excursion above half a millivolt.
std::vector<int> RPeaks(const records::CECGContentsData& record) {
    std::vector<int> peaks;
    const int threshold = 1024 + 128;
    const int count = record.GetSampleCount();
    for (int i = 0; i < count; ++i) {
        const int v = record.GetSample(i).value;
        if (v < threshold)
            continue;
        bool highest = true;
        for (int k = std::max(0, i - 20); k < std::min(count, i + 21) && highest; ++k)
            highest = record.GetSample(k).value < v || (record.GetSample(k).value == v && k >= i);
        if (highest)
            peaks.push_back(i);
    }
    return peaks;
}

double IntervalSpread(const std::vector<int>& peaks) {
    std::vector<double> rr;
    for (std::size_t k = 1; k < peaks.size(); ++k)
        rr.push_back(peaks[k] - peaks[k - 1]);
    const double mean = std::accumulate(rr.begin(), rr.end(), 0.0) / rr.size();
    double variance = 0;
    for (const double x : rr)
        variance += (x - mean) * (x - mean);
    return std::sqrt(variance / rr.size()) / mean;
}

class SimRecordingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "JST-9", 1);
        ::tzset();
    }
    records::CECGContentsData Load(const RecordBlock& block) {
        records::CECGContentsData record;
        record.SetPath(folder.Write("d260102030405_0001.ecg", RecordFileOf(block)));
        record.Load();
        return record;
    }
    testsupport::TempFolder folder;
};

TEST_F(SimRecordingTest, EachRhythmLoadsWithFlagsRateAndTraceThatAgree) {
    struct Case {
        Rhythm rhythm;
        int analysisClass;
        int minRate, maxRate; // heart rate the device reports
        bool irregular;
    };
    const Case cases[] = {
        {Rhythm::Normal, 0, 55, 95, false},         {Rhythm::Fast, 1, 105, 160, false},
        {Rhythm::Slow, 5, 30, 49, false},           {Rhythm::Irregular, 9, 55, 100, true},
        {Rhythm::FastIrregular, 2, 105, 160, true}, {Rhythm::WideComplex, 11, 55, 95, false},
    };
    for (const Case& c : cases) {
        for (std::uint32_t seed : {1u, 2u, 3u}) {
            SimRecordingPlan plan;
            plan.rhythm = c.rhythm;
            plan.recorded = kRecorded;
            plan.seed = seed;
            const RecordBlock block = BuildRecordingBlock(plan);
            ASSERT_TRUE(BlockCheckMatches(block));
            const records::CECGContentsData record = Load(block);
            ASSERT_TRUE(record.IsLoaded()) << static_cast<int>(c.rhythm);
            SCOPED_TRACE("rhythm " + std::to_string(static_cast<int>(c.rhythm)) + " seed " +
                         std::to_string(seed));
            EXPECT_EQ(record.GetSampleCount(), 3750);
            EXPECT_EQ(record.GetAnalysisClass(), c.analysisClass);
            EXPECT_EQ(record.GetRecordTime(), kRecorded);
            EXPECT_FALSE(record.IsUndated());
            EXPECT_NE(record.GetFilter(), 0);
            const int rate = record.GetHeartRate();
            EXPECT_GE(rate, c.minRate);
            EXPECT_LE(rate, c.maxRate);

            // The trace shows the beats the reported rate stands for.
            const std::vector<int> peaks = RPeaks(record);
            const double seconds = 30.0;
            EXPECT_NEAR(static_cast<double>(peaks.size()), rate * seconds / 60.0, 2.5);
            if (c.irregular)
                EXPECT_GT(IntervalSpread(peaks), 0.08);
            else
                EXPECT_LT(IntervalSpread(peaks), 0.05);
            for (int i = 0; i < record.GetSampleCount(); ++i) {
                const int v = record.GetSample(i).value;
                ASSERT_TRUE(v > 512 && v < 1800) << "sample " << i << " = " << v;
            }
        }
    }
}

TEST_F(SimRecordingTest, UndatedShortNoisyAndDamagedBlocks) {
    SimRecordingPlan plan;
    plan.rhythm = Rhythm::NotAnalysable;
    plan.dated = false;
    plan.filterOn = false;
    plan.sampleCount = 1000;
    plan.recordNumber = 0x1234;
    const RecordBlock block = BuildRecordingBlock(plan);
    EXPECT_TRUE(std::all_of(block.begin() + 8, block.begin() + 14,
                            [](std::uint8_t b) { return b == 0xFF; }));
    EXPECT_EQ(block[6], 0x34);
    EXPECT_EQ(block[7], 0x12);
    const records::CECGContentsData record = Load(block);
    ASSERT_TRUE(record.IsLoaded());
    EXPECT_TRUE(record.IsUndated());
    EXPECT_EQ(record.GetFilter(), 0);
    EXPECT_EQ(record.GetSampleCount(), 1000);
    EXPECT_EQ(record.GetAnalysisClass(), 12);
    EXPECT_EQ(record.GetHeartRate(), 0);

    plan.sampleCount = 5000;
    EXPECT_EQ(records::ReadLe32(BuildRecordingBlock(plan), 18), kMaxBlockSamples);

    plan.damaged = true;
    const RecordBlock damaged = BuildRecordingBlock(plan);
    EXPECT_FALSE(BlockCheckMatches(damaged));
    EXPECT_FALSE(Load(damaged).IsLoaded());
}

TEST_F(SimRecordingTest, VariedRecordingsAreOldestFirstAndMixed) {
    const auto plans = VariedRecordings(12, kRecorded, true, 0x10, 7);
    ASSERT_EQ(plans.size(), 12u);
    bool undated = false;
    bool shortened = false;
    std::set<Rhythm> rhythms;
    for (std::size_t k = 0; k < plans.size(); ++k) {
        EXPECT_EQ(plans[k].recordNumber, 0x10 + k);
        if (k > 0) {
            EXPECT_LT(plans[k - 1].recorded, plans[k].recorded);
        }
        undated = undated || !plans[k].dated;
        shortened = shortened || plans[k].sampleCount < kMaxBlockSamples;
        rhythms.insert(plans[k].rhythm);
    }
    EXPECT_EQ(plans.back().recorded, kRecorded);
    EXPECT_TRUE(undated);
    EXPECT_TRUE(shortened);
    EXPECT_EQ(rhythms.size(), 7u);
}

TEST_F(SimRecordingTest, ACardHoldsTheSameRecordingsAsFiles) {
    auto plans = VariedRecordings(3, kRecorded, false, 0x2A, 5);
    plans[1].damaged = true;
    ASSERT_TRUE(WriteCardFolder(folder.File("card"), plans));
    for (std::size_t k = 0; k < plans.size(); ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "card/Vtq520/data/ECG_%04X.ecg", plans[k].recordNumber);
        records::CECGContentsData fromCard;
        fromCard.SetPath(folder.File(name));
        fromCard.Load();
        SCOPED_TRACE(name);
        if (plans[k].damaged) {
            EXPECT_FALSE(fromCard.IsLoaded());
            continue;
        }
        ASSERT_TRUE(fromCard.IsLoaded());
        EXPECT_EQ(fromCard.GetLoadFailures(), 0); // padding and memo block in place
        const records::CECGContentsData fromDevice = Load(BuildRecordingBlock(plans[k]));
        EXPECT_EQ(fromCard.GetRecordNumber(), plans[k].recordNumber);
        EXPECT_EQ(fromCard.GetAnalysisClass(), fromDevice.GetAnalysisClass());
        EXPECT_EQ(fromCard.GetHeartRate(), fromDevice.GetHeartRate());
        EXPECT_EQ(fromCard.GetFilter(), 0);
        ASSERT_EQ(fromCard.GetSampleCount(), fromDevice.GetSampleCount());
        for (int i = 0; i < fromCard.GetSampleCount(); ++i)
            ASSERT_EQ(fromCard.GetSample(i).value, fromDevice.GetSample(i).value) << i;
    }
}

} // namespace
