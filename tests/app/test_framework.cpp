#include "app/ECGFramework.h"
#include "records/ECGContentsData.h"
#include "records/RecordBuilder.h"
#include "support/ScriptedPrompts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

using app::CECGFramework;
using testsupport::ScriptedPrompts;
using testsupport::TempFolder;

namespace {

class FakeWindows : public app::IWindowHost {
public:
    app::WindowHandle ForegroundWindow() override { return &front; }
    void EnableWindows(bool enable) override {
        enabledCalls.push_back(enable);
        if (reenter)
            nestedResult = framework->EnableAllWindows(!enable);
    }
    void FocusWindow(app::WindowHandle window) override { focused = window; }

    int front = 0;
    std::vector<bool> enabledCalls;
    bool reenter = false;
    int nestedResult = -1;
    CECGFramework* framework = nullptr;
    app::WindowHandle focused = nullptr;
};

TEST(Framework, BusyFrameRefusesANestedCall) {
    CECGFramework framework;
    FakeWindows windows;
    windows.framework = &framework;
    framework.SetWindowHost(&windows);

    windows.reenter = true;
    EXPECT_EQ(framework.EnableAllWindows(false), 1);
    EXPECT_EQ(windows.nestedResult, 0);
    EXPECT_EQ(windows.enabledCalls, std::vector<bool>{false});
    EXPECT_TRUE(framework.IsBusy());
    EXPECT_EQ(framework.GetFrontWindow(), &windows.front);

    windows.reenter = false;
    EXPECT_EQ(framework.EnableAllWindows(true), 1);
    EXPECT_FALSE(framework.IsBusy());
    EXPECT_EQ(framework.GetFrontWindow(), nullptr);
}

TEST(Framework, ListsAndNewPaths) {
    CECGFramework framework;
    records::CECGContentsData a, b;
    framework.AppendSelected(&a);
    framework.AppendSelected(&b);
    EXPECT_EQ(framework.GetSelected(1), &b);
    EXPECT_EQ(framework.GetSelected(2), nullptr);
    EXPECT_EQ(framework.GetSelected(-1), nullptr);
    EXPECT_EQ(framework.GetListed(0), nullptr);

    framework.AppendNewPath("/data/d261208233507_002a.ecg");
    EXPECT_TRUE(framework.IsNewPath("/data/d261208233507_002a.ecg"));
    EXPECT_FALSE(framework.IsNewPath("/data/D261208233507_002A.ECG"));
    framework.ClearNewPaths();
    EXPECT_FALSE(framework.IsNewPath("/data/d261208233507_002a.ecg"));
    EXPECT_EQ(framework.GetSensitivity(), 1);
}

class DeleteTest : public ::testing::Test {
protected:
    void SetUp() override {
        framework.SetWindowHost(&windows);
        framework.SetPrompts(&prompts);
        const std::vector<std::uint16_t> samples(50, 1000);
        for (const char* name : {"1.ecg", "2.ecg", "3.ecg"}) {
            auto record = std::make_unique<records::CECGContentsData>();
            record->SetPath(folder.Write(name, records::BuildRecordFile({}, samples, true)));
            framework.AppendSelected(record.get());
            owned.push_back(std::move(record));
        }
    }
    bool Exists(const char* name) const { return std::filesystem::exists(folder.File(name)); }

    TempFolder folder;
    CECGFramework framework;
    FakeWindows windows;
    ScriptedPrompts prompts;
    std::vector<std::unique_ptr<records::CECGContentsData>> owned;
    int list = 0;
};

TEST_F(DeleteTest, StopsAtTheFirstProtectedRecord) {
    ::chmod(folder.File("2.ecg").c_str(), 0444);
    prompts.answers = {platform::kIdOk};
    EXPECT_EQ(framework.DeleteSelectedRecords(&list), 1);
    EXPECT_FALSE(Exists("1.ecg"));
    EXPECT_TRUE(Exists("2.ecg"));
    EXPECT_TRUE(Exists("3.ecg"));
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].heading, "データ削除");
    EXPECT_EQ(prompts.shown[0].text, "ECG Data Delete OK?");
    EXPECT_EQ(prompts.shown[1].text, "Delete Error");
    EXPECT_EQ(framework.GetSelectedCount(), 0);
}

TEST_F(DeleteTest, DecliningOrNothingSelectedDeletesNothing) {
    prompts.answers = {platform::kIdCancel};
    EXPECT_EQ(framework.DeleteSelectedRecords(&list), 0);
    EXPECT_TRUE(Exists("1.ecg") && Exists("2.ecg") && Exists("3.ecg"));
    EXPECT_EQ(windows.focused, &list);
    EXPECT_EQ(framework.GetSelectedCount(), 3);

    framework.ClearSelected();
    windows.focused = nullptr;
    EXPECT_EQ(framework.DeleteSelectedRecords(&list), 0);
    EXPECT_EQ(windows.focused, &list);
}

TEST_F(DeleteTest, SingleDeleteReportsAFileThatIsNotARecord) {
    folder.Write("2.ecg", "damaged");
    EXPECT_EQ(framework.DeleteRecord(folder.File("2.ecg")), 1);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Data not find");
    EXPECT_EQ(prompts.shown[0].icon, platform::MessageIcon::Hand);
    EXPECT_EQ(framework.DeleteRecord(folder.File("1.ecg")), 0);
    EXPECT_FALSE(Exists("1.ecg"));
}

TEST(Framework, PluginScanLoadsNothing) {
    TempFolder share;
    share.Write("Plugin/a.so", "x");
    share.Write("Plugin/b.so", "y");
    std::filesystem::create_directories(share.File("Plugin/x.so"));
    CECGFramework framework;
    framework.LoadPlugins(share.Path());
    framework.LoadPlugins(share.File("missing"));
    EXPECT_EQ(framework.GetPluginCount(), 0);
}

} // namespace
