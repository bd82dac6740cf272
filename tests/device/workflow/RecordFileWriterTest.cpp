#include "device/workflow/RecordFileWriter.h"
#include "device/workflow/DeviceTimeText.h"

#include "device/DeviceError.h"
#include "device/sim/SimRecording.h"
#include "records/ECGContentsData.h"
#include "records/RecordFormat.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace device {
namespace {

using testsupport::ReadFile;
using testsupport::TempFolder;

// 2026-12-08 23:35:07 in UTC+9.
constexpr std::time_t kSaved = 1796740507;
constexpr std::array<std::uint8_t, 20> kNoExtra{};

class RecordFileWriter : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "JST-9", 1);
        tzset();
    }
    static sim::RecordBlock Block(bool dated, std::uint16_t number, std::uint32_t samples,
                                  bool damaged = false) {
        sim::SimRecordingPlan plan;
        plan.dated = dated;
        plan.recordNumber = number;
        plan.recorded = kSaved - 3600;
        plan.sampleCount = samples;
        plan.damaged = damaged;
        return sim::BuildRecordingBlock(plan);
    }
    TempFolder folder;
};

TEST_F(RecordFileWriter, NamesFromKindTimeOfSavingAndNumber) {
    EXPECT_EQ(MakeRecordFileName(Block(true, 0x2a, 100), kSaved), "d261208233507_002a.ecg");
    sim::RecordBlock undated = Block(true, 0xbeef, 100);
    undated[14] = 3;
    EXPECT_EQ(MakeRecordFileName(undated, kSaved), "p261208233507_beef.ecg");
    undated[14] = 2;
    EXPECT_EQ(MakeRecordFileName(undated, kSaved), "d261208233507_beef.ecg");
}

TEST_F(RecordFileWriter, SavedFileLoadsWithTheBlocksValues) {
    for (const std::uint32_t n : {3750u, 24u, 13u}) {
        SCOPED_TRACE(n);
        const sim::RecordBlock block = Block(true, 7, n);
        const std::string path = SaveRecordFile(block, kNoExtra, folder.Path(), kSaved).path;
        records::CECGContentsData record;
        record.SetPath(path);
        EXPECT_TRUE(record.IsValidFile());
        record.Load();
        ASSERT_TRUE(record.IsLoaded());
        EXPECT_EQ(record.GetLoadFailures(), 0);
        EXPECT_EQ(record.GetSampleCount(), static_cast<int>(n));
        EXPECT_EQ(record.GetRecordTime(), kSaved - 3600);
        EXPECT_EQ(record.GetRecordNumber(), 7);
        EXPECT_EQ(record.GetSampleRate(), 125);
        EXPECT_EQ(ReadFile(path).size(), records::MemoBlockOffset(n));
    }
}

TEST_F(RecordFileWriter, UnsetClockTakesTheTimeOfSaving) {
    sim::RecordBlock block = Block(false, 1, 100);
    block[10] = 0xFF;
    const std::string file = BuildDownloadedFile(block, kNoExtra, kSaved);
    const std::uint32_t time =
        static_cast<std::uint8_t>(file[8]) | static_cast<std::uint8_t>(file[9]) << 8 |
        static_cast<std::uint8_t>(file[10]) << 16 |
        static_cast<std::uint32_t>(static_cast<std::uint8_t>(file[11])) << 24;
    EXPECT_EQ(time, kSaved);

    sim::RecordBlock impossible = Block(true, 1, 100);
    impossible[10] = 40; // day 40 is no date
    EXPECT_EQ(BuildDownloadedFile(impossible, kNoExtra, kSaved).substr(8, 4), file.substr(8, 4));
}

TEST_F(RecordFileWriter, DamagedBlockGivesAFileThatFailsItsChecksum) {
    const SavedRecording saved =
        SaveRecordFile(Block(true, 3, 3750, true), kNoExtra, folder.Path(), kSaved);
    EXPECT_TRUE(saved.damaged);
    records::CECGContentsData record;
    record.SetPath(saved.path);
    EXPECT_FALSE(record.IsValidFile());
}

TEST_F(RecordFileWriter, MissingFolderCannotTakeTheFile) {
    try {
        SaveRecordFile(Block(true, 3, 100), kNoExtra, folder.File("gone"), kSaved);
        FAIL() << "no error";
    } catch (const DeviceError& error) {
        EXPECT_EQ(error.Code(), kErrCreateFile);
    }
}

} // namespace
} // namespace device

namespace device {
namespace {

TEST(DeviceTimeText, YearIsANumberWhateverTheYearFormat) {
    setenv("TZ", "JST-9", 1);
    tzset();
    // The built-in year format is "%s", which must still show the year.
    EXPECT_EQ(FormatDeviceTime(1796740507), "202612/8(Tuesday) 23:35");
    EXPECT_EQ(WeekdayName(0), "Sunday");
    EXPECT_EQ(WeekdayName(7), "");
}

} // namespace
} // namespace device
