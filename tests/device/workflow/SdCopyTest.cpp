#include "device/workflow/SdCopy.h"
#include "FakeWorkerHost.h"
#include "records/RecordBuilder.h"
#include "support/FaultSteps.h"
#include "support/ScriptedPrompts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace device {
namespace {

using testsupport::FakeWorkerHost;
using testsupport::ScriptedPrompts;
using testsupport::TempFolder;

std::string Record(std::uint32_t recorded, std::uint16_t level = 2000) {
    records::RecordFields fields;
    fields.recordedTime = recorded;
    return records::BuildRecordFile(fields, std::vector<std::uint16_t>(100, level), true);
}

std::vector<std::string> Contents(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files.push_back(testsupport::ReadFile(entry.path().string()));
    std::sort(files.begin(), files.end());
    return files;
}

TEST(RecorderFolder, BelowTheCardsMountPoint) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "/media/u/CARD/Vtq520/data/"},
        {"E:\\Vtq520\\data\\", "/media/u/CARD/Vtq520/data/"},
        {"F:\\ecg", "/media/u/CARD/ecg/"},
        {"Vtq520/data", "/media/u/CARD/Vtq520/data/"},
    };
    for (const auto& [dirSd, expected] : cases)
        EXPECT_EQ(RecorderFolder("/media/u/CARD", dirSd), expected) << dirSd;
}

class SdCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "JST-9", 1);
        tzset();
        std::filesystem::create_directories(folder.File("data"));
    }
    TempFolder folder;
    ScriptedPrompts prompts;
    FakeWorkerHost host;
    SdCopyPlan plan;
};

TEST_F(SdCopyTest, ListsOnlyLowerCaseEcgFiles) {
    folder.Write("card/a.ecg", Record(1704434645));
    folder.Write("card/b.ECG", Record(1704434645));
    folder.Write("card/c.txt", "x");
    EXPECT_EQ(BuildSdFileList(folder.File("card"), folder.File("data"), prompts, plan), 1);
    ASSERT_EQ(plan.files.size(), 1u);
    EXPECT_EQ(plan.files[0], folder.File("card/a.ecg"));
    EXPECT_EQ(plan.destination, folder.File("data/"));
}

TEST_F(SdCopyTest, RefusalsSayWhy) {
    folder.Write("card/x.txt", "x");
    const struct {
        std::string source, destination, message;
    } cases[] = {
        {folder.File("nocard"), folder.File("data"), "SD not find"},
        {folder.File("card"), folder.File("nodata"), "HDD Error"},
        {folder.File("card"), folder.File("card/"), "can not copy 2"},
        {folder.File("card"), folder.File("data"), "HDD not find"},
    };
    for (const auto& c : cases) {
        prompts.shown.clear();
        EXPECT_EQ(BuildSdFileList(c.source, c.destination, prompts, plan), 0);
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(prompts.shown[0].text, c.message);
    }
}

TEST_F(SdCopyTest, CopiesByTimeSkipsWhatIsThereAndCountsFailures) {
    for (int i = 0; i < 10; ++i)
        folder.Write("card/r" + std::to_string(i) + ".ecg", Record(1704434645 + i));
    folder.Write("card/broken.ecg", "not a record");
    ASSERT_EQ(BuildSdFileList(folder.File("card"), folder.File("data"), prompts, plan), 11);

    // Three are already in the data folder under their copy names.
    for (int i = 0; i < 3; ++i) {
        SdCopyPlan one{
            plan.source, plan.destination, {folder.File("card/r" + std::to_string(i) + ".ecg")}};
        CSdCopyWorker(host, "%d/%d", one).Run();
    }
    host = FakeWorkerHost();

    CSdCopyWorker worker(host, "%d/%d", plan);
    worker.Run();
    EXPECT_EQ(host.added.size(), 7u);
    EXPECT_EQ(host.range, 11);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Copy Error");
    EXPECT_EQ(host.closeRequests, 1);
    EXPECT_EQ(worker.GetCancelState(), kCancelled);
    EXPECT_TRUE(std::filesystem::exists(folder.File("data/2024_01_05_[03_04_05_PM]_M.ecg")));
    // The card is only read.
    EXPECT_TRUE(std::filesystem::exists(folder.File("card/r0.ecg")));
}

TEST_F(SdCopyTest, TwoRecordingsOfOneTimeAndClassAreBothCopied) {
    const std::string first = Record(1704434645, 2000);
    const std::string second = Record(1704434645, 2100);
    folder.Write("card/ECG_0001.ecg", first);
    folder.Write("card/ECG_0002.ecg", second);
    ASSERT_EQ(BuildSdFileList(folder.File("card"), folder.File("data"), prompts, plan), 2);
    CSdCopyWorker(host, "%d/%d", plan).Run();
    EXPECT_EQ(host.added.size(), 2u);
    EXPECT_TRUE(host.messages.empty());
    std::vector<std::string> expected{first, second};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Contents(folder.File("data")), expected);

    // Copied again, both are there already.
    host = FakeWorkerHost();
    CSdCopyWorker(host, "%d/%d", plan).Run();
    EXPECT_TRUE(host.added.empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Contents(folder.File("data")), expected);
}

TEST_F(SdCopyTest, ACopyThatFailsAtAnyStepLeavesEveryRecordingOnceOrNotAtAll) {
    std::vector<std::string> card;
    for (int i = 0; i < 3; ++i) {
        card.push_back(Record(1704434645 + i, static_cast<std::uint16_t>(1000 + i)));
        folder.Write("card/r" + std::to_string(i) + ".ecg", card.back());
    }
    ASSERT_EQ(BuildSdFileList(folder.File("card"), folder.File("data"), prompts, plan), 3);
    for (const int error : {ENOSPC, EIO}) {
        SCOPED_TRACE(error);
        testsupport::ForEachFailingCall(
            error,
            [&] {
                std::filesystem::remove_all(folder.File("data"));
                std::filesystem::create_directories(folder.File("data"));
                host = FakeWorkerHost();
            },
            [&] { CSdCopyWorker(host, "%d/%d", plan).Run(); },
            [&](std::uint64_t) {
                EXPECT_TRUE(testsupport::TemporaryFiles(folder.File("data")).empty());
                const std::vector<std::string> copied = Contents(folder.File("data"));
                for (const std::string& file : copied)
                    EXPECT_EQ(std::count(card.begin(), card.end(), file), 1);
                EXPECT_EQ(std::set<std::string>(copied.begin(), copied.end()).size(),
                          copied.size());
                EXPECT_EQ(host.added.size(), copied.size());
                if (copied.size() < card.size()) {
                    EXPECT_FALSE(host.messages.empty()) << "a failed copy is told";
                }
            });
    }
}

TEST_F(SdCopyTest, CancelledBeforeStartCopiesNothing) {
    folder.Write("card/a.ecg", Record(1704434645));
    ASSERT_EQ(BuildSdFileList(folder.File("card"), folder.File("data"), prompts, plan), 1);
    CSdCopyWorker worker(host, "%d/%d", plan);
    worker.RequestCancel();
    worker.Run();
    EXPECT_TRUE(host.added.empty());
    EXPECT_EQ(host.range, 0);
    EXPECT_EQ(host.closeRequests, 1);
}

} // namespace
} // namespace device
