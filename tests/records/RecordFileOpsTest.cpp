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

    std::string Record(std::uint32_t flags = 0) const {
        RecordFields fields;
        fields.recordedTime = kMorning;
        fields.flags = flags;
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
    ASSERT_EQ(CopyRecordFile(unusable, folder.File("data/"), false, true, copied),
              kRecordFileDone);
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

TEST_F(RecordFileOps, SkipOnlyWhenAValidRecordIsAlreadyThere) {
    const std::string source = folder.Write("card/a.ecg", Record());
    folder.Write("data/a.ecg", Record(0x0040));
    std::string copied;
    EXPECT_EQ(CopyRecordFile(source, folder.File("data/"), true, false, copied),
              kRecordFileSkipped);
    EXPECT_NE(ReadFile(folder.File("data/a.ecg")), ReadFile(source));

    folder.Write("data/a.ecg", "damaged");
    EXPECT_EQ(CopyRecordFile(source, folder.File("data/"), true, false, copied), kRecordFileDone);
    EXPECT_EQ(ReadFile(folder.File("data/a.ecg")), ReadFile(source));

    // A destination that cannot be replaced is a failed copy.
    std::filesystem::create_directories(folder.File("data/b.ecg"));
    const std::string other = folder.Write("card/b.ecg", Record());
    EXPECT_EQ(CopyRecordFile(other, folder.File("data/"), false, false, copied),
              kRecordFileCopyFailed);
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
