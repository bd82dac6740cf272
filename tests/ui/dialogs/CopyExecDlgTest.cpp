// The import progress dialog against the simulated device: a finished
// import, the ways to cancel one, a failed one, the clock question, the
// copy from a card and the refusal of an unusable data folder.
// The simulator comes before any Qt header: its memory has a member named
// like Qt's "slots" keyword.
#include "device/sim/SimServer.h"

#include "ui/dialogs/CopyExecDlg.h"

#include "DialogTestSupport.h"
#include "app/ECGFramework.h"
#include "device/DeviceLink.h"
#include "platform/UserPrompts.h"
#include "records/RecordBuilder.h"
#include "support/ScriptedPrompts.h"
#include "ui/dialogs/CommonButton.h"

#include <QLabel>
#include <QProgressBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <optional>
#include <vector>

namespace {

using dialogtest::Control;
using dialogtest::PressKey;
using dialogtest::WaitUntil;
using platform::kIdCancel;
using platform::kIdOk;
using ui::CCopyExecDlg;

// 2026-12-08 23:35:07 in UTC+9.
constexpr std::time_t kNow = 1796740507;

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        paths.push_back(entry.path().string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

// The prompts, noting for each question whether the dialog showed and the
// label of its first button.
class WatchingPrompts : public testsupport::ScriptedPrompts {
public:
    int Ask(const std::string& heading, const std::string& message, platform::PromptForm form,
            const std::string& firstButton) override {
        firstButtons.push_back(firstButton);
        dialogShown.push_back(watched != nullptr && watched->isVisible());
        return ScriptedPrompts::Ask(heading, message, form, firstButton);
    }

    QWidget* watched = nullptr;
    std::vector<std::string> firstButtons;
    std::vector<bool> dialogShown;
};

// Holds the worker at its third record until the interface thread has
// taken the step, so a cancel lands while that record is in progress; and,
// when asked, after it requested the close until released, so the run's
// files are still there when the dialog closes.
class SteppedDlg : public CCopyExecDlg {
public:
    using CCopyExecDlg::CCopyExecDlg;

    void RecordAdded(const std::string& path) override {
        CCopyExecDlg::RecordAdded(path);
        if (++m_nAdded == 3 && onThird) {
            QMetaObject::invokeMethod(this, onThird, Qt::BlockingQueuedConnection);
        }
    }
    void RequestClose() override {
        CCopyExecDlg::RequestClose();
        if (holdAfterClose) {
            release.get_future().wait();
        }
    }

    std::function<void()> onThird;
    bool holdAfterClose = false;
    std::promise<void> release;

private:
    int m_nAdded = 0;
};

class CopyExecDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "JST-9", 1);
        tzset();
        // A short time-out keeps the unplugged device quick.
        device::ConfigureDeviceLink({"VID_1A3C&PID_0B71"}, 300, 1500000, "");
        std::filesystem::create_directories(Data());
        framework.GetDeviceState().m_clockNotSet = false;
    }

    std::string Data() const { return folder.File("data"); }

    // A device holding `count` recordings, numbered 1 (the oldest) on.
    void StartDevice(int count, bool clockSet = true, std::vector<device::sim::Fault> faults = {}) {
        device::sim::SimMemory memory;
        for (int i = 0; i < count; ++i) {
            device::sim::SimRecordingPlan plan;
            plan.recordNumber = static_cast<std::uint16_t>(i + 1);
            plan.recorded = kNow - 3600 * (count - i);
            plan.sampleCount = 400;
            device::sim::StoreRecording(memory, device::sim::BuildRecordingBlock(plan));
        }
        memory.count = static_cast<std::uint8_t>(count);
        memory.clockSet = clockSet;
        server = std::make_unique<device::sim::CSimServer>(
            device::sim::CSimDevice(memory, std::move(faults), [] { return std::int64_t{kNow}; }));
        ASSERT_TRUE(server->Start());
    }

    void Prepare(CCopyExecDlg& dialog) {
        dialog.SetPrompts(&prompts);
        dialog.SetClock([] { return kNow; });
        prompts.watched = &dialog;
    }

    // Steps that leave the dialog open fail the test, so none hangs it.
    static int Run(CCopyExecDlg& dialog, std::function<void()> steps) {
        return dialogtest::RunModal(dialog, std::move(steps));
    }

    static void AwaitClosing(CCopyExecDlg& dialog) {
        EXPECT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));
    }

    std::optional<dialogtest::LanguageScope> language;
    testsupport::TempFolder folder;
    WatchingPrompts prompts;
    app::CECGFramework framework;
    std::unique_ptr<device::sim::CSimServer> server;
};

TEST_F(CopyExecDlgTest, FinishedImportShowsOkAndEveryWayOfClosingAnswersOk) {
    language.emplace(dialogtest::kJapanese);
    const std::vector<std::pair<const char*, std::function<void(CCopyExecDlg&)>>> closings = {
        {"OK", [](CCopyExecDlg& d) { Control<ui::CCommonButton>(&d, kIdOk)->click(); }},
        {"Escape", [](CCopyExecDlg& d) { PressKey(&d, Qt::Key_Escape); }},
    };
    for (const auto& [name, closeIt] : closings) {
        SCOPED_TRACE(name);
        std::filesystem::remove_all(Data());
        std::filesystem::create_directories(Data());
        StartDevice(3);
        framework.AppendNewPath("/an/earlier/import.ecg");
        // The main window is disabled while an import runs.
        QWidget owner;
        owner.setEnabled(false);
        CCopyExecDlg dialog(framework, &owner);
        Prepare(dialog);
        ASSERT_TRUE(dialog.SetPortAndFolder(server->PortName(), Data()));
        EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);

        const int answer = Run(dialog, [&] {
            auto* ok = Control<ui::CCommonButton>(&dialog, kIdOk);
            ASSERT_TRUE(WaitUntil([&] { return ok->isVisible(); }));
            EXPECT_FALSE(
                Control<ui::CCommonButton>(&dialog, CCopyExecDlg::kIdCancelButton)->isVisible());
            EXPECT_EQ(Control<QLabel>(&dialog, CCopyExecDlg::kIdProgressText)->text(),
                      QString::fromUtf8("3/3件のデータ取り込み完了"));
            EXPECT_EQ(Control<QLabel>(&dialog, CCopyExecDlg::kIdMessage1)->text(),
                      QString::fromUtf8("機器から心電図データをパソコンに取り込みました。"));
            auto* bar = Control<QProgressBar>(&dialog, CCopyExecDlg::kIdProgressBar);
            EXPECT_EQ(bar->value(), 3);
            EXPECT_EQ(bar->maximum(), 3);
            closeIt(dialog);
        });

        EXPECT_EQ(answer, kIdOk);
        const std::vector<std::string> files = FilesIn(Data());
        ASSERT_EQ(files.size(), 3u);
        for (const std::string& file : files) {
            EXPECT_TRUE(framework.IsNewPath(file)) << file;
        }
        EXPECT_FALSE(framework.IsNewPath("/an/earlier/import.ecg"));
        EXPECT_EQ(server->MemorySnapshot().count, 0);
        EXPECT_TRUE(prompts.shown.empty());
    }
}

TEST_F(CopyExecDlgTest, CancelDuringTheThirdOfFiveDeletesTheRunsFiles) {
    language.emplace(dialogtest::kEnglish);
    const std::vector<std::pair<const char*, std::function<void(CCopyExecDlg&)>>> cancels = {
        {"Cancel button",
         [](CCopyExecDlg& d) {
             Control<ui::CCommonButton>(&d, CCopyExecDlg::kIdCancelButton)->click();
         }},
        {"Escape", [](CCopyExecDlg& d) { PressKey(&d, Qt::Key_Escape); }},
        {"close request", [](CCopyExecDlg& d) { d.close(); }},
    };
    for (const auto& [name, cancelIt] : cancels) {
        SCOPED_TRACE(name);
        StartDevice(5);
        SteppedDlg dialog(framework);
        Prepare(dialog);
        ASSERT_TRUE(dialog.SetPortAndFolder(server->PortName(), Data()));
        bool stepped = false;
        dialog.onThird = [&] {
            stepped = true;
            // The format came from the language file.
            EXPECT_EQ(Control<QLabel>(&dialog, CCopyExecDlg::kIdProgressText)->text(),
                      QString("3 of 5 recordings"));
            EXPECT_FALSE(Control<ui::CCommonButton>(&dialog, kIdOk)->isVisible());
            cancelIt(dialog);
            // While the worker runs, no way of asking closes the dialog.
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_FALSE(
                Control<ui::CCommonButton>(&dialog, CCopyExecDlg::kIdCancelButton)->isEnabled());
        };

        const int answer = Run(dialog, [&] { AwaitClosing(dialog); });

        EXPECT_TRUE(stepped);
        EXPECT_EQ(answer, kIdCancel);
        EXPECT_TRUE(FilesIn(Data()).empty());
        EXPECT_EQ(server->MemorySnapshot().count, 5);
    }
}

TEST_F(CopyExecDlgTest, UnpluggingMidwayReportsTheErrorAndLeavesNoFiles) {
    language.emplace(dialogtest::kNoLanguage);
    // Start, index, then two recordings answered before the line goes.
    StartDevice(4, true, {{device::sim::FaultKind::Unplug, 4}});
    SteppedDlg dialog(framework);
    Prepare(dialog);
    ASSERT_TRUE(dialog.SetPortAndFolder(server->PortName(), Data()));
    dialog.holdAfterClose = true;

    // The worker goes on deleting once the dialog has closed: the answer
    // comes only after that.
    const int answer = Run(dialog, [&] {
        AwaitClosing(dialog);
        QTimer::singleShot(0, &dialog, [&] { dialog.release.set_value(); });
    });

    EXPECT_EQ(answer, kIdCancel);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].heading, "COM Error");
    EXPECT_TRUE(FilesIn(Data()).empty());
    EXPECT_EQ(server->MemorySnapshot().count, 4);
}

TEST_F(CopyExecDlgTest, TheClockQuestionIsAskedWithTheDialogHidden) {
    language.emplace(dialogtest::kNoLanguage);
    struct Case {
        int answer;
        int expected;
        std::size_t files;
    };
    for (const Case& c : {Case{kIdOk, kIdOk, 2}, Case{kIdCancel, kIdCancel, 0}}) {
        SCOPED_TRACE(c.answer);
        std::filesystem::remove_all(Data());
        std::filesystem::create_directories(Data());
        StartDevice(2, false);
        framework.GetDeviceState().m_clockNotSet = true;
        prompts.answers = {c.answer};
        prompts.firstButtons.clear();
        prompts.dialogShown.clear();
        CCopyExecDlg dialog(framework);
        Prepare(dialog);
        ASSERT_TRUE(dialog.SetPortAndFolder(server->PortName(), Data()));

        const int answer = Run(dialog, [&] {
            if (c.answer == kIdOk) {
                auto* ok = Control<ui::CCommonButton>(&dialog, kIdOk);
                ASSERT_TRUE(WaitUntil([&] { return ok->isVisible(); }));
                EXPECT_TRUE(dialog.isVisible());
                ok->click();
            } else {
                EXPECT_TRUE(WaitUntil([&] { return dialog.result() == kIdCancel; }));
            }
        });

        EXPECT_EQ(answer, c.expected);
        ASSERT_EQ(prompts.firstButtons.size(), 1u);
        EXPECT_EQ(prompts.firstButtons[0], "時刻同期する");
        EXPECT_FALSE(prompts.dialogShown[0]);
        EXPECT_EQ(FilesIn(Data()).size(), c.files);
        EXPECT_EQ(server->MemorySnapshot().clockSet, c.answer == kIdOk);
        EXPECT_EQ(framework.GetDeviceState().m_clockNotSet, c.answer != kIdOk);
        EXPECT_EQ(server->MemorySnapshot().count, c.answer == kIdOk ? 0 : 2);
    }
}

TEST_F(CopyExecDlgTest, CardCopyRunsInTheDialogAndClosesByItself) {
    language.emplace(dialogtest::kNoLanguage);
    for (int i = 0; i < 3; ++i) {
        records::RecordFields fields;
        fields.recordNumber = static_cast<std::uint16_t>(i + 1);
        fields.recordedTime = static_cast<std::uint32_t>(kNow - 3600 * (i + 1));
        folder.Write("card/r" + std::to_string(i) + ".ecg",
                     records::BuildRecordFile(fields, std::vector<std::uint16_t>(100, 2000), true));
    }
    folder.Write("card/upper.ECG", "not copied");
    device::SdCopyPlan plan;
    ASSERT_EQ(device::BuildSdFileList(folder.File("card"), Data(), prompts, plan), 3);
    CCopyExecDlg dialog(framework);
    Prepare(dialog);
    dialog.SetCardCopy(plan);

    const int answer = Run(dialog, [&] { AwaitClosing(dialog); });

    EXPECT_EQ(answer, kIdCancel);
    EXPECT_TRUE(prompts.shown.empty());
    const std::vector<std::string> files = FilesIn(Data());
    ASSERT_EQ(files.size(), 3u);
    for (const std::string& file : files) {
        EXPECT_TRUE(framework.IsNewPath(file)) << file;
    }
    EXPECT_EQ(FilesIn(folder.File("card")).size(), 4u);
}

TEST_F(CopyExecDlgTest, AnUnusableDataFolderIsRefusedBeforeTheDialogRuns) {
    language.emplace(dialogtest::kNoLanguage);
    folder.Write("plain-file", "x");
    for (const std::string& bad :
         {folder.File("missing"), folder.File("plain-file"), std::string("/")}) {
        SCOPED_TRACE(bad);
        prompts.shown.clear();
        CCopyExecDlg dialog(framework);
        Prepare(dialog);
        EXPECT_FALSE(dialog.SetPortAndFolder("/dev/pts/0", bad));
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(prompts.shown[0].text, "HDD Error");
    }
}

} // namespace
