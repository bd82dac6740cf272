#include "records/RecordFolder.h"

#include "Fixtures.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace records {
namespace {

std::vector<std::string> SortedNames(const std::vector<std::unique_ptr<CECGContentsData>>& list) {
    std::vector<std::string> names;
    for (const auto& record : list) {
        names.push_back(record->GetFileName());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(RecordFolder, ListsRecordFilesOnly) {
    testsupport::TempFolder dir;
    const std::string valid = test::ValidRecord(24, true);
    std::string damaged = valid;
    damaged[70] ^= 0x10;
    testsupport::WriteFile(dir.File("a.ecg"), valid);
    testsupport::WriteFile(dir.File("b.ECG"), valid);
    testsupport::WriteFile(dir.File("notes.txt"), valid);
    testsupport::WriteFile(dir.File("recordecg"), valid);
    testsupport::WriteFile(dir.File("damaged.ecg"), damaged);
    ASSERT_EQ(::mkdir(dir.File("x.ecg").c_str(), 0700), 0);
    testsupport::WriteFile(dir.File("x.ecg/inner.ecg"), valid);
    ASSERT_EQ(::symlink("x.ecg", dir.File("folderlink.ecg").c_str()), 0);
    ASSERT_EQ(::symlink("a.ecg", dir.File("filelink.ecg").c_str()), 0);
    // Temporary files of saves, however complete, are not records; the one
    // from an earlier version happens to end in "ecg".
    testsupport::WriteFile(dir.File(".c.ecg.Ab12Cd.tmp"), valid);
    testsupport::WriteFile(dir.File("c.ecg.tmpXYZecg"), valid);

    const auto list = GatherRecordFolder(dir.Path());
    EXPECT_EQ(SortedNames(list),
              (std::vector<std::string>{"a.ecg", "b.ECG", "filelink.ecg", "recordecg"}));
    for (const auto& record : list) {
        EXPECT_FALSE(record->IsLoaded()) << "samples are read when a row needs them";
        EXPECT_EQ(record->GetPath(), dir.File(record->GetFileName()));
    }

    LoadAll(list);
    for (const auto& record : list) {
        EXPECT_EQ(record->GetSampleCount(), 24);
    }
}

// Enough files for the checks and loads to be shared between threads.
TEST(RecordFolder, LargeFolderKeepsEnumerationOrder) {
    testsupport::TempFolder dir;
    std::string damaged = test::ValidRecord(24, true);
    damaged[70] ^= 0x10;
    for (int i = 0; i < 300; ++i) {
        const std::string name = "r" + std::to_string(i * 7919 % 1000) + ".ecg";
        testsupport::WriteFile(dir.File(name),
                               i % 7 == 3 ? damaged : test::ValidRecord(24 + i, true));
    }
    std::vector<std::string> expected;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        CECGContentsData probe;
        probe.SetPath(entry.path().string());
        if (probe.IsValidFile()) {
            expected.push_back(entry.path().filename().string());
        }
    }
    ASSERT_GT(expected.size(), 200u);

    const auto list = GatherRecordFolder(dir.Path());
    std::vector<std::string> names;
    for (const auto& record : list) {
        names.push_back(record->GetFileName());
    }
    EXPECT_EQ(names, expected);

    LoadAll(list);
    for (const auto& record : list) {
        CECGContentsData alone;
        alone.SetPath(record->GetPath());
        alone.Load();
        ASSERT_TRUE(record->IsLoaded()) << record->GetFileName();
        EXPECT_EQ(record->GetSampleCount(), alone.GetSampleCount()) << record->GetFileName();
    }
}

TEST(RecordFolder, UnreadableFolderGivesEmptyList) {
    testsupport::TempFolder dir;
    EXPECT_TRUE(GatherRecordFolder(dir.File("missing")).empty());
    EXPECT_TRUE(GatherRecordFolder("").empty());
    testsupport::WriteFile(dir.File("a.ecg"), test::ValidRecord(24, true));
    EXPECT_TRUE(GatherRecordFolder(dir.File("a.ecg")).empty()) << "a file is not a folder";
}

} // namespace
} // namespace records
