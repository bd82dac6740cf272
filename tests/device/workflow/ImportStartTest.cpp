#include "device/workflow/ImportStart.h"
#include "device/workflow/ConnectionWatcher.h"
#include "records/RecordBuilder.h"
#include "support/ScriptedPrompts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace device {
namespace {

using testsupport::ScriptedPrompts;
using testsupport::TempFolder;

TEST(ConnectionWatcher, OneAutomaticImportPerPluggingIn) {
    int reads = 0;
    bool readOk = true;
    CConnectionWatcher watcher([&](const std::string&) {
        ++reads;
        return readOk;
    });
    const std::vector<std::string> none, one{"/dev/ttyACM0"}, two{"/dev/ttyACM0", "/dev/ttyACM1"};

    EXPECT_EQ(watcher.OnDeviceTimer(none, false), std::nullopt);
    EXPECT_EQ(watcher.OnDeviceTimer(one, false), "/dev/ttyACM0");
    EXPECT_EQ(watcher.OnDeviceTimer(one, false), std::nullopt); // still plugged in
    EXPECT_EQ(reads, 1);

    // A second device clears the latch; unplugging it re-arms the import.
    EXPECT_EQ(watcher.OnDeviceTimer(two, false), std::nullopt);
    EXPECT_EQ(watcher.OnDeviceTimer(one, false), "/dev/ttyACM0");

    // A failed status read is not retried until the device comes back.
    watcher.OnDeviceTimer(none, false);
    readOk = false;
    EXPECT_EQ(watcher.OnDeviceTimer(one, false), std::nullopt);
    readOk = true;
    EXPECT_EQ(watcher.OnDeviceTimer(one, false), std::nullopt);
    EXPECT_EQ(reads, 3);

    // While another operation runs the device is read but not imported.
    watcher.OnDeviceTimer(none, false);
    EXPECT_EQ(watcher.OnDeviceTimer(one, true), std::nullopt);
    EXPECT_TRUE(watcher.IsLatched());

    // A card is never imported automatically, and leaves the latch alone.
    watcher.OnDeviceTimer(none, false);
    EXPECT_EQ(watcher.OnDeviceTimer({"/media/u/CARD"}, false), std::nullopt);
    EXPECT_FALSE(watcher.IsLatched());
}

class PrepareImportTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(folder.File("data")); }
    TempFolder folder;
    ScriptedPrompts prompts;
};

TEST_F(PrepareImportTest, PortChoiceAndFolderRefusals) {
    const struct {
        std::vector<std::string> ports;
        std::string dataFolder;
        std::string shown;
    } cases[] = {
        {{}, folder.File("data"), "No Com|No COM"},
        {{"/dev/ttyACM0", "/dev/ttyACM1"}, folder.File("data"), "Multi COM|Multi COM"},
        {{"/dev/ttyACM0"}, folder.File("gone"), "|HDD Error"},
        {{"/dev/ttyACM0"}, "/", "|HDD Error"},
    };
    for (const auto& c : cases) {
        prompts.shown.clear();
        EXPECT_EQ(PrepareImport(c.ports, "", c.dataFolder, prompts), std::nullopt);
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(prompts.shown[0].heading + "|" + prompts.shown[0].text, c.shown);
    }
}

TEST_F(PrepareImportTest, SerialPortImportsFromTheDeviceACardIsCopied) {
    auto plan = PrepareImport({"/dev/pts/7"}, "", folder.File("data/"), prompts);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->port, "/dev/pts/7");
    EXPECT_FALSE(plan->card);

    folder.Write("card/Vtq520/data/a.ecg",
                 records::BuildRecordFile({}, std::vector<std::uint16_t>(10, 7), true));
    plan = PrepareImport({folder.File("card")}, "", folder.File("data"), prompts);
    ASSERT_TRUE(plan);
    EXPECT_TRUE(plan->port.empty());
    ASSERT_TRUE(plan->card);
    EXPECT_EQ(plan->card->files.size(), 1u);
    EXPECT_TRUE(prompts.shown.empty());

    EXPECT_EQ(PrepareImport({folder.File("empty-card")}, "", folder.File("data"), prompts),
              std::nullopt);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "SD not find");
}

} // namespace
} // namespace device
