#include "records/ECGContentsData.h"

#include "Fixtures.h"
#include "support/FaultSteps.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace records {
namespace {

using test::GetLe16;
using test::ValidRecord;
using testsupport::ReadFile;
using testsupport::TempFolder;
using testsupport::WriteFile;

constexpr std::size_t kN = 4375;

std::string Utf16(const std::string& ascii) {
    std::string units;
    for (char c : ascii) {
        units += c;
        units += '\0';
    }
    return units;
}

// A memo text field as stored: its byte length, then the UTF-16LE text.
std::string LengthAndText(const std::string& ascii) {
    const std::string units = Utf16(ascii);
    return std::string{static_cast<char>(units.size()), '\0'} + units;
}

CECGContentsData LoadedFrom(const std::string& path) {
    CECGContentsData record;
    record.SetPath(path);
    record.Load();
    return record;
}

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// A file with a memo whose texts have stray bytes after their length and a
// non-zero word at 272: what a careless writer may have left.
std::string FileWithMemo() {
    std::string file = ValidRecord(kN, true, {.recordNumber = 7, .flags = 0x0020});
    test::PutMemoItem(file, kN, CECGContentsData::kSituation, 512, 2, Utf16("aZZZZ"));
    test::PutMemoItem(file, kN, CECGContentsData::kPosition, 8, 4, Utf16("V4"));
    const std::size_t memo = MemoBlockOffset(kN);
    test::PutLe16(file, memo + 272, 0x1234);
    test::PutLe16(file, memo + kOffMemoCommentLength, 6);
    file.replace(memo + kOffMemoComment, 6, Utf16("doc"));
    return file;
}

TEST(RecordSave, ChangesOnlyTheMemo) {
    TempFolder dir;
    const std::string path = dir.File("a.ecg");
    const std::string before = FileWithMemo();
    WriteFile(path, before);

    CECGContentsData record = LoadedFrom(path);
    ASSERT_TRUE(record.IsLoaded());
    record.SetSituation(4);
    record.SetSymptoms(0x0011);
    record.SetPosture(2);
    record.SetSymptomText("dizzy");
    ASSERT_EQ(record.Save(), 1);

    const std::string after = ReadFile(path);
    const std::size_t memo = MemoBlockOffset(kN);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.substr(0, memo), before.substr(0, memo)) << "header, samples and padding";

    EXPECT_EQ(GetLe16(after, memo + 0), 4);
    EXPECT_EQ(GetLe16(after, memo + 2), 2);
    EXPECT_EQ(after.substr(memo + 4, 64), Utf16("a") + std::string(62, '\0'))
        << "bytes past a text are zero";
    EXPECT_EQ(GetLe16(after, memo + 68), 0x0011);
    EXPECT_EQ(after.substr(memo + 70, 12), LengthAndText("dizzy"));
    EXPECT_EQ(GetLe16(after, memo + 136), 8);
    EXPECT_EQ(after.substr(memo + 138, 6), LengthAndText("V4"));
    EXPECT_EQ(GetLe16(after, memo + 204), 2);
    EXPECT_EQ(GetLe16(after, memo + 272), 0);
    EXPECT_EQ(after.substr(memo + 274, 8), LengthAndText("doc"));

    const CECGContentsData again = LoadedFrom(path);
    EXPECT_EQ(again.GetSituationText(), "a");
    EXPECT_EQ(again.GetSymptomText(), "dizzy");
    EXPECT_EQ(again.GetPositionText(), "V4");
    EXPECT_EQ(again.GetComment(), "doc");
    EXPECT_EQ(again.GetRecordNumber(), 7);
}

TEST(RecordSave, AppendsMemoBlockToAFileWithoutOne) {
    TempFolder dir;
    const std::string path = dir.File("a.ecg");
    const std::string before = ValidRecord(24, false);
    ASSERT_EQ(before.size(), 112u);
    WriteFile(path, before);

    CECGContentsData record = LoadedFrom(path);
    record.SetPosition(8);
    ASSERT_EQ(record.Save(), 1);
    const std::string after = ReadFile(path);
    ASSERT_EQ(after.size(), 112u + kMemoBlockSize);
    EXPECT_EQ(after.substr(0, 112), before);
    EXPECT_EQ(LoadedFrom(path).GetPosition(), 8);
}

TEST(RecordSave, WriteProtectedFileIsRefused) {
    TempFolder dir;
    const std::string path = dir.File("a.ecg");
    const std::string before = FileWithMemo();
    WriteFile(path, before);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);

    CECGContentsData record = LoadedFrom(path);
    record.SetSituation(1);
    EXPECT_EQ(record.Save(), 0);
    EXPECT_EQ(ReadFile(path), before);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
}

TEST(RecordSave, FailedWriteLeavesTheFileSystemAsItWas) {
    TempFolder dir;
    const std::string path = dir.File("a.ecg");
    WriteFile(path, FileWithMemo());
    CECGContentsData record = LoadedFrom(path);
    record.SetSituation(1);

    // The record's path is now a folder with something in it.
    ASSERT_EQ(::unlink(path.c_str()), 0);
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
    WriteFile(path + "/keep", "x");
    EXPECT_EQ(record.Save(), 0);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"a.ecg"}) << "no temporary left";
    EXPECT_EQ(ReadFile(path + "/keep"), "x");

    // The folder is gone.
    std::filesystem::remove_all(dir.Path());
    EXPECT_EQ(record.Save(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.Path()));
}

TEST(RecordSave, AMemoSaveThatFailsAtAnyStepKeepsTheOldFile) {
    TempFolder dir;
    const std::string path = dir.File("a.ecg");
    const std::string before = FileWithMemo();
    int result = 0;
    testsupport::ForEachFailingCall(
        ENOSPC, [&] { WriteFile(path, before); },
        [&] {
            CECGContentsData record = LoadedFrom(path);
            record.SetSituation(5);
            result = record.Save();
        },
        [&](std::uint64_t) {
            EXPECT_TRUE(testsupport::TemporaryFiles(dir.Path()).empty());
            const CECGContentsData after = LoadedFrom(path);
            EXPECT_EQ(after.GetLoadFailures(), 0);
            if (result == 1)
                EXPECT_EQ(after.GetSituation(), 5);
            else
                EXPECT_EQ(ReadFile(path), before);
        });
}

TEST(RecordSave, RecordWithoutSamplesWritesNothing) {
    TempFolder dir;
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string badMagic = ValidRecord(24, true);
    badMagic[0] = 'X';
    for (const Case& c : {Case{"a.ecg", badMagic}, Case{"b.ecg", ValidRecord(0, false)},
                          Case{"c.ecgx", ValidRecord(24, false)}}) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File(c.name);
        WriteFile(path, c.bytes);
        CECGContentsData record = LoadedFrom(path);
        record.SetSituation(1);
        EXPECT_EQ(record.Save(), 1);
        EXPECT_EQ(ReadFile(path), c.bytes);
    }

    CECGContentsData neverLoaded;
    neverLoaded.SetPath(dir.File("new.ecg"));
    EXPECT_EQ(neverLoaded.Save(), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.File("new.ecg")));
}

// A load that stopped at a bad padding or an unusable-record marker has not
// read the memo the file holds; writing the file back would wipe it.
TEST(RecordSave, UnreadMemoIsNotOverwritten) {
    TempFolder dir;
    const std::string path = dir.File("a.ecg");
    std::string shifted = FileWithMemo();
    shifted[MemoBlockOffset(kN) - 1] = 0;
    std::string marked = FileWithMemo();
    test::PutLe16(marked, kOffUsableMarker, 0xFFFF);
    test::PutLe16(marked, kOffUsableMarker + 2, 0xFFFF);

    for (const std::string& before : {shifted, marked}) {
        WriteFile(path, before);
        CECGContentsData record = LoadedFrom(path);
        ASSERT_TRUE(record.IsLoaded());
        ASSERT_EQ(record.GetLoadFailures(), 1);
        record.SetSituation(1);
        EXPECT_EQ(record.Save(), 0);
        EXPECT_EQ(ReadFile(path), before);
    }

    // A marked record as the device import writes it has no memo yet: it is
    // saved with one, as every imported record is.
    const std::string fresh = ValidRecord(24, false, {.usableMarker = 0xFFFFFFFF});
    WriteFile(path, fresh);
    CECGContentsData record = LoadedFrom(path);
    record.SetPosition(8);
    EXPECT_EQ(record.Save(), 1);
    EXPECT_EQ(ReadFile(path).size(), fresh.size() + kMemoBlockSize);
}

} // namespace
} // namespace records
