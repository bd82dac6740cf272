#include "records/RecordFileOps.h"

#include "Fixtures.h"
#include "platform/ResourceText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace records {
namespace {

using testsupport::ReadFile;
using testsupport::TempFolder;

// 2025-03-01 09:15:00 in UTC+9; no irregularity (class 0).
constexpr std::uint32_t kMorning = 1740788100;

class AnalysisTexts : public platform::ITextSource {
public:
    std::optional<std::string> Text(unsigned id) const override {
        if (id == 62020)
            return "Normal rhythm";
        if (id == 62032)
            return "/cannot be analysed";
        return std::nullopt;
    }
};

class RecordFileOps : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "JST-9", 1);
        tzset();
        platform::SetTextSource(&m_texts);
    }
    void TearDown() override { platform::SetTextSource(nullptr); }

    std::string Record(std::uint32_t flags = 0, std::uint16_t heartRate = 0) const {
        RecordFields fields;
        fields.recordedTime = kMorning;
        fields.flags = flags;
        fields.heartRate = heartRate;
        return test::ValidRecord(100, true, fields);
    }

    TempFolder folder;
    AnalysisTexts m_texts;
};

TEST_F(RecordFileOps, CopyNamedByTimeCarriesTheMessagesFirstCharacter) {
    const std::string source = folder.Write("card/REC001.ECG", Record());
    std::string copied;
    ASSERT_EQ(CopyRecordFile(source, folder.File("data/"), false, true, copied), kRecordFileDone);
    EXPECT_EQ(copied, folder.File("data/2025_03_01_[09_15_00_AM]_N.ECG"));
    EXPECT_EQ(ReadFile(copied), ReadFile(source));

    // A message starting with a path separator must not make a sub-folder.
    const std::string unusable = folder.Write("card/REC002.ecg", Record(0x7800));
    ASSERT_EQ(CopyRecordFile(unusable, folder.File("data/"), false, true, copied), kRecordFileDone);
    EXPECT_EQ(copied, folder.File("data/2025_03_01_[09_15_00_AM]__.ecg"));
}

TEST_F(RecordFileOps, CopyRefusesWhatIsNotARecordAndCreatesNothing) {
    const std::string text = folder.Write("card/notes.ecg", "not a record at all");
    std::string copied = "unchanged";
    EXPECT_EQ(CopyRecordFile(text, folder.File("data/"), false, false, copied),
              kRecordFileNotRecord);
    EXPECT_EQ(CopyRecordFile("", folder.File("data/"), false, false, copied), kRecordFileNoPath);
    EXPECT_EQ(CopyRecordFile(text, "", false, false, copied), kRecordFileNoPath);
    EXPECT_FALSE(std::filesystem::exists(folder.File("data")));
    EXPECT_EQ(copied, "unchanged");
}

TEST_F(RecordFileOps, ACopyReplacesNothingAndSkipsOnlyTheSameRecording) {
    const std::string source = folder.Write("card/a.ecg", Record());
    const std::string other = Record(0x0040);
    folder.Write("data/a.ecg", other);
    folder.Write("data/a_1.ecg", "damaged");
    std::string copied;
    // Two files of one name but different recordings: both stay.
    ASSERT_EQ(CopyRecordFile(source, folder.File("data/"), true, false, copied), kRecordFileDone);
    EXPECT_EQ(copied, folder.File("data/a_2.ecg"));
    EXPECT_EQ(ReadFile(copied), ReadFile(source));
    EXPECT_EQ(ReadFile(folder.File("data/a.ecg")), other);
    EXPECT_EQ(ReadFile(folder.File("data/a_1.ecg")), "damaged");

    // Copied again: the same recording is there already.
    copied.clear();
    EXPECT_EQ(CopyRecordFile(source, folder.File("data/"), true, false, copied),
              kRecordFileSkipped);
    EXPECT_EQ(copied, folder.File("data/a_2.ecg"));

    // Named by time, another recording of the same time and class takes
    // the next second.
    const std::string twin = folder.Write("card/b.ecg", Record(0, 72));
    std::string first, second;
    ASSERT_EQ(CopyRecordFile(source, folder.File("time/"), true, true, first), kRecordFileDone);
    ASSERT_EQ(CopyRecordFile(twin, folder.File("time/"), true, true, second), kRecordFileDone);
    EXPECT_EQ(first, folder.File("time/2025_03_01_[09_15_00_AM]_N.ecg"));
    EXPECT_EQ(second, folder.File("time/2025_03_01_[09_15_01_AM]_N.ecg"));
}

TEST_F(RecordFileOps, DeleteKeepsWhatIsNotARecordOrIsProtected) {
    const std::string text = folder.Write("notes.ecg", "a text file named like a record");
    EXPECT_EQ(DeleteRecordFile(text, true), kRecordFileNotRecord);
    EXPECT_TRUE(std::filesystem::exists(text));

    const std::string locked = folder.Write("locked.ecg", Record());
    ::chmod(locked.c_str(), 0444);
    EXPECT_EQ(DeleteRecordFile(locked, true), kRecordFileNotWritable);
    EXPECT_TRUE(std::filesystem::exists(locked));
    EXPECT_EQ(DeleteRecordFile(locked, false), kRecordFileDone);
    EXPECT_FALSE(std::filesystem::exists(locked));

    const std::string plain = folder.Write("plain.ecg", Record());
    EXPECT_EQ(DeleteRecordFile(plain, true), kRecordFileDone);
    EXPECT_FALSE(std::filesystem::exists(plain));
    EXPECT_EQ(DeleteRecordFile("", true), kRecordFileNoPath);
}

TEST_F(RecordFileOps, UsableFolderIsAnExistingPath) {
    EXPECT_TRUE(IsUsableFolder(folder.Path()));
    EXPECT_TRUE(IsUsableFolder(folder.Write("r.ecg", Record())));
    EXPECT_FALSE(IsUsableFolder(folder.File("gone.ecg")));
    EXPECT_FALSE(IsUsableFolder(""));
}

} // namespace
} // namespace records
