#include "device/workflow/SdCopy.h"
#include "FakeWorkerHost.h"
#include "records/RecordBuilder.h"
#include "support/ScriptedPrompts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace device {
namespace {

using testsupport::FakeWorkerHost;
using testsupport::ScriptedPrompts;
using testsupport::TempFolder;

std::string Record(std::uint32_t recorded) {
    records::RecordFields fields;
    fields.recordedTime = recorded;
    return records::BuildRecordFile(fields, std::vector<std::uint16_t>(100, 2000), true);
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
