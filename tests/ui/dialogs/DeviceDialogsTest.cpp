// The device settings dialog and its write dialog against the simulated
// device: what the dialog shows of battery, clock and filter, what the
// device holds after a write, the port checks and the device going away.
// The simulator comes before any Qt header: its memory has a member named
// like Qt's "slots" keyword.
#include "device/sim/SimIdentity.h"
#include "device/sim/SimServer.h"

#include "ui/dialogs/DeviceWriteExecDlg.h"
#include "ui/dialogs/EcgDeviceDlg.h"

#include "DialogTestSupport.h"
#include "app/ECGFramework.h"
#include "device/DeviceInfo.h"
#include "device/DeviceLink.h"
#include "device/VirtualDevices.h"
#include "device/workflow/DeviceTimeText.h"
#include "platform/ResourceText.h"
#include "support/ScriptedPrompts.h"
#include "ui/dialogs/CommonButton.h"
#include "ui/dialogs/DialogLook.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

using dialogtest::Control;
using dialogtest::WaitUntil;
using platform::kIdCancel;
using platform::kIdOk;
using ui::CDeviceWriteExecDlg;
using ui::CEcgDeviceDlg;

// 2026-12-08 23:35:07 in UTC+9, the simulator's clock.
constexpr std::time_t kNow = 1796740507;
// The computer's clock as the dialog reads it: a clock write sends it.
constexpr std::time_t kComputer = kNow - 100;
// How far the device clock runs ahead of the simulator's while it is set.
constexpr std::int64_t kDeviceAhead = 3600;
constexpr unsigned kTextNoComHeading = 52024;
constexpr unsigned kTextMultiComHeading = 52025;
constexpr unsigned kTextComErrorHeading = 52026;

bool IsRed(const QLabel* label) {
    return label->palette().color(QPalette::WindowText) == QColor(255, 0, 0);
}

class DeviceDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "JST-9", 1);
        tzset();
        device::ConfigureDeviceLink({"VID_1A3C&PID_0B71"}, 300, 1500000, "");
    }

    // A plugged-in device, announced so that port discovery finds it, and
    // its status read into the framework as the settings command does.
    device::sim::CSimServer& Plug(device::sim::SimMemory memory,
                                  std::vector<device::sim::Fault> faults = {}) {
        auto server = std::make_unique<device::sim::CSimServer>(
            device::sim::CSimDevice(memory, std::move(faults), [] { return std::int64_t{kNow}; }));
        EXPECT_TRUE(server->Start());
        auto announcement = std::make_unique<device::CVirtualDeviceFile>();
        const std::string name = "sim" + std::to_string(servers.size());
        EXPECT_TRUE(announcement->Announce(device::VirtualDevicesFolder(), name,
                                           device::sim::InstanceIdOf(name), server->PortName()));
        servers.push_back(std::move(server));
        announcements.push_back(std::move(announcement));
        return *servers.back();
    }

    static device::sim::SimMemory Memory(bool clockSet, std::uint8_t filter = 2) {
        device::sim::SimMemory memory;
        memory.clockSet = clockSet;
        memory.clockOffset = clockSet ? kDeviceAhead : 0;
        memory.filter = filter;
        memory.deviceFlag = true;
        return memory;
    }

    void ReadState(const device::sim::CSimServer& server) {
        ASSERT_TRUE(device::ReadDeviceInfo(server.PortName(), framework.GetDeviceState()));
    }

    void Prepare(CEcgDeviceDlg& dialog) {
        dialog.SetPrompts(&prompts);
        dialog.SetClock([] { return kComputer; });
    }

    // Writes through the dialog and closes the write dialog once it has
    // ended its work, showing the finished texts.
    static int WriteAndClose(CEcgDeviceDlg& dialog,
                             const char* written = "設定した内容を機器に同期しました。",
                             const char* complete = "同期完了") {
        return dialogtest::RunModal(dialog, [&] {
            QTimer::singleShot(0, &dialog, [&] {
                auto* write = dialog.findChild<CDeviceWriteExecDlg*>();
                ASSERT_NE(write, nullptr);
                auto* ok = Control<ui::CCommonButton>(write, kIdOk);
                if (WaitUntil([&] { return ok->isVisible() || !write->isVisible(); }) &&
                    ok->isVisible()) {
                    EXPECT_EQ(Control<QLabel>(write, CDeviceWriteExecDlg::kIdMessage1)->text(),
                              QString::fromUtf8(written));
                    EXPECT_EQ(Control<QLabel>(write, CDeviceWriteExecDlg::kIdProgressText)->text(),
                              QString::fromUtf8(complete));
                    ok->click();
                }
            });
            Control<ui::CCommonButton>(&dialog, CEcgDeviceDlg::kIdWriteButton)->click();
        });
    }

    testsupport::TempFolder runtime;
    testsupport::ScopedEnv runtimeEnv{"XDG_RUNTIME_DIR", runtime.Path()};
    dialogtest::LanguageScope language{dialogtest::kJapanese};
    testsupport::ScriptedPrompts prompts;
    app::CECGFramework framework;
    std::vector<std::unique_ptr<device::sim::CSimServer>> servers;
    std::vector<std::unique_ptr<device::CVirtualDeviceFile>> announcements;
};

TEST_F(DeviceDialogsTest, BatteryWarningIsRedForTheLowestLevelOnly) {
    struct Case {
        int level;
        bool warned;
    };
    // A level the device should never report warns like the lowest.
    for (const Case c : {Case{1, true}, Case{2, false}, Case{3, false}, Case{0, true}}) {
        SCOPED_TRACE(c.level);
        framework.GetDeviceState().m_battery = c.level;
        CEcgDeviceDlg dialog(framework, "/dev/pts/0");
        auto* warning = Control<QLabel>(&dialog, CEcgDeviceDlg::kIdBatteryWarning);
        EXPECT_EQ(warning->text().isEmpty(), !c.warned);
        EXPECT_EQ(IsRed(warning), c.warned);
        const QPixmap battery =
            Control<QLabel>(&dialog, CEcgDeviceDlg::kIdBatteryPicture)->pixmap();
        EXPECT_EQ(battery.size(), QSize(48, 24));
    }
}

TEST_F(DeviceDialogsTest, ClockBoxCannotLeaveTheUnsetState) {
    struct Case {
        bool clockNotSet;
        std::vector<Qt::CheckState> states; // at the start, then after each click
    };
    const std::vector<Case> cases = {
        {true, {Qt::PartiallyChecked, Qt::PartiallyChecked, Qt::PartiallyChecked}},
        {false, {Qt::Unchecked, Qt::Checked, Qt::Unchecked, Qt::Checked}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clockNotSet);
        device::DeviceState& state = framework.GetDeviceState();
        state.m_clockNotSet = c.clockNotSet;
        state.m_deviceClock = kNow;
        CEcgDeviceDlg dialog(framework, "/dev/pts/0");
        Prepare(dialog);
        auto* box = Control<QCheckBox>(&dialog, CEcgDeviceDlg::kIdClockCheck);
        EXPECT_EQ(box->checkState(), c.states[0]);
        for (std::size_t i = 1; i < c.states.size(); ++i) {
            box->click();
            EXPECT_EQ(box->checkState(), c.states[i]) << "click " << i;
        }
        auto* clock = Control<QLabel>(&dialog, CEcgDeviceDlg::kIdDeviceClock);
        EXPECT_EQ(IsRed(clock), c.clockNotSet);
        EXPECT_EQ(clock->text(), c.clockNotSet ? QString::fromUtf8("機器時間が設定されていません。")
                                               : ui::ToQt(device::FormatDeviceTime(kNow)));
        EXPECT_EQ(Control<QLabel>(&dialog, CEcgDeviceDlg::kIdComputerClock)->text(),
                  ui::ToQt(device::FormatDeviceTime(kComputer)));
    }
}

TEST_F(DeviceDialogsTest, AnyNonzeroFilterShowsOnAndOneClickTurnsItOff) {
    struct Case {
        int filter;
        const char* shown;
        int afterClick;
        const char* shownAfter;
    };
    // A filter never read shows as on, as the write would send it.
    for (const Case c : {Case{1, "オン", 0, "オフ"}, Case{3, "オン", 0, "オフ"},
                         Case{-1, "オン", 0, "オフ"}, Case{0, "オフ", 2, "オン"}}) {
        SCOPED_TRACE(c.filter);
        framework.GetDeviceState().m_filter = c.filter;
        CEcgDeviceDlg dialog(framework, "/dev/pts/0");
        auto* text = Control<QLabel>(&dialog, CEcgDeviceDlg::kIdFilterText);
        EXPECT_EQ(text->text(), QString::fromUtf8(c.shown));
        Control<QPushButton>(&dialog, CEcgDeviceDlg::kIdFilterButton)->click();
        EXPECT_EQ(dialog.Filter(), c.afterClick);
        EXPECT_EQ(text->text(), QString::fromUtf8(c.shownAfter));
    }
}

TEST_F(DeviceDialogsTest, FilterOnlyWriteKeepsTheDeviceClockAndItsOwnBit) {
    const device::sim::CSimServer& server = Plug(Memory(true));
    ReadState(server);
    CEcgDeviceDlg dialog(framework, server.PortName());
    Prepare(dialog);
    Control<QPushButton>(&dialog, CEcgDeviceDlg::kIdFilterButton)->click();

    EXPECT_EQ(WriteAndClose(dialog), kIdOk);

    const device::sim::SimMemory written = server.MemorySnapshot();
    EXPECT_EQ(written.filter, 0);
    EXPECT_TRUE(written.deviceFlag);
    EXPECT_TRUE(written.clockSet);
    // The clock bytes went back as read, not the computer's time.
    EXPECT_EQ(written.clockOffset, kDeviceAhead);
    EXPECT_EQ(framework.GetDeviceState().m_filter, 0);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(DeviceDialogsTest, ClockWriteSendsTheComputersTime) {
    struct Case {
        const char* name;
        bool deviceClockSet;
        bool tick; // the person ticks the box
    };
    for (const Case c :
         {Case{"device clock unset", false, false}, Case{"box ticked", true, true}}) {
        SCOPED_TRACE(c.name);
        const device::sim::CSimServer& server = Plug(Memory(c.deviceClockSet, 0));
        ReadState(server);
        CEcgDeviceDlg dialog(framework, server.PortName());
        Prepare(dialog);
        if (c.tick) {
            Control<QCheckBox>(&dialog, CEcgDeviceDlg::kIdClockCheck)->click();
        }

        EXPECT_EQ(WriteAndClose(dialog), kIdOk);

        const device::sim::SimMemory written = server.MemorySnapshot();
        EXPECT_TRUE(written.clockSet);
        EXPECT_EQ(written.clockOffset, kComputer - kNow);
        EXPECT_EQ(written.filter, 0);
        EXPECT_TRUE(written.deviceFlag);
        const device::DeviceState& state = framework.GetDeviceState();
        EXPECT_FALSE(state.m_clockNotSet);
        EXPECT_EQ(state.m_deviceClock, kComputer);
        servers.clear();
        announcements.clear();
    }
}

TEST_F(DeviceDialogsTest, EnglishTextsForTheClockWarningOffAndTheFinishedWrite) {
    app::Languages().SelectLanguageId(dialogtest::kEnglish);
    const device::sim::CSimServer& server = Plug(Memory(false, 0));
    ReadState(server);
    CEcgDeviceDlg dialog(framework, server.PortName());
    Prepare(dialog);
    EXPECT_EQ(Control<QLabel>(&dialog, CEcgDeviceDlg::kIdDeviceClock)->text(),
              "The device clock is not set.");
    auto* filter = Control<QLabel>(&dialog, CEcgDeviceDlg::kIdFilterText);
    EXPECT_EQ(filter->text(), "Off");
    Control<QPushButton>(&dialog, CEcgDeviceDlg::kIdFilterButton)->click();
    EXPECT_EQ(filter->text(), "On");

    EXPECT_EQ(WriteAndClose(dialog, "The settings have been written to the device.", "Complete"),
              kIdOk);
}

TEST_F(DeviceDialogsTest, FailedWriteIsReportedAndNotTakenForSuccess) {
    Plug(Memory(true));
    ReadState(*servers.back());
    servers.clear();
    announcements.clear();
    // Plugged in again, the device answers the first exchange of the write
    // and goes.
    const device::sim::CSimServer& server =
        Plug(Memory(true), {{device::sim::FaultKind::Unplug, 1}});
    CEcgDeviceDlg dialog(framework, server.PortName());
    Prepare(dialog);
    Control<QPushButton>(&dialog, CEcgDeviceDlg::kIdFilterButton)->click();

    EXPECT_EQ(WriteAndClose(dialog), kIdCancel);

    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].heading, platform::LoadText(kTextComErrorHeading));
    // The next write sends the same again.
    EXPECT_EQ(framework.GetDeviceState().m_filter, 0);
}

TEST_F(DeviceDialogsTest, EnterOnCancelCancelsWithoutWriting) {
    const device::sim::CSimServer& server = Plug(Memory(true));
    ReadState(server);
    const unsigned exchanges = server.Exchanges();
    CEcgDeviceDlg dialog(framework, server.PortName());
    Prepare(dialog);

    const int answer = dialogtest::RunModal(dialog, [&] {
        auto* cancel = Control<ui::CCommonButton>(&dialog, CEcgDeviceDlg::kIdCancelButton);
        cancel->setFocus();
        ASSERT_EQ(dialog.focusWidget(), cancel);
        dialogtest::PressKey(&dialog, Qt::Key_Return);
    });

    EXPECT_EQ(answer, kIdCancel);
    EXPECT_EQ(server.Exchanges(), exchanges);
}

TEST_F(DeviceDialogsTest, PortChecksKeepTheDialogOpen) {
    const device::sim::CSimServer& first = Plug(Memory(true));
    ReadState(first);
    Plug(Memory(true));
    CEcgDeviceDlg dialog(framework, first.PortName());
    Prepare(dialog);

    const int answer = dialogtest::RunModal(dialog, [&] {
        auto* write = Control<ui::CCommonButton>(&dialog, CEcgDeviceDlg::kIdWriteButton);
        write->click();
        EXPECT_TRUE(dialog.isVisible());
        announcements.clear();
        write->click();
        EXPECT_TRUE(dialog.isVisible());
        // With no device left the dialog ends by itself.
        EXPECT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));
    });

    EXPECT_EQ(answer, CEcgDeviceDlg::kIdDeviceGone);
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].heading, platform::LoadText(kTextMultiComHeading));
    EXPECT_EQ(prompts.shown[1].heading, platform::LoadText(kTextNoComHeading));
}

TEST_F(DeviceDialogsTest, UnpluggingTheDeviceEndsTheDialog) {
    const device::sim::CSimServer& server = Plug(Memory(true));
    ReadState(server);
    CEcgDeviceDlg dialog(framework, server.PortName());
    Prepare(dialog);

    const int answer = dialogtest::RunModal(dialog, [&] {
        // Present devices keep it open.
        EXPECT_TRUE(WaitUntil([&] { return dialog.isVisible(); }));
        servers.clear();
        EXPECT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));
    });

    EXPECT_EQ(answer, CEcgDeviceDlg::kIdDeviceGone);
    EXPECT_TRUE(prompts.shown.empty());
}

} // namespace
