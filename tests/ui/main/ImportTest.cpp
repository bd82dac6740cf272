// Imports started from the main window: the connection watcher's automatic
// import of a device plugged in (once per plugging-in), and the import
// command's card copy, both through the import dialog, the list refilled
// with the new records marked new.
#include "device/VirtualDevices.h"
#include "device/sim/SimCard.h"
#include "device/sim/SimIdentity.h"
#include "platform/ResourceText.h"
#include "ui/DemoDevice.h"
#include "ui/Translate.h"
#include "ui/dialogs/CopyExecDlg.h"
#include "ui/dialogs/EcgDeviceDlg.h"
#include "ui/main/MainWindowFixture.h"

#include <QAbstractButton>
#include <QTimer>

#include <ctime>

namespace {

using testsupport::MainWindowTest;

// Counts the import dialogs that open.
class DialogCounter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<ui::CCopyExecDlg*>(watched) != nullptr)
            ++shown;
        return false;
    }
    int shown = 0;
};

class ImportTest : public MainWindowTest {
protected:
    ImportTest() : m_runtime("XDG_RUNTIME_DIR", home.Path()) {
        QApplication::instance()->installEventFilter(&m_counter);
        // Whenever an import dialog shows its OK button (the import has
        // finished), the person takes it.
        QObject::connect(&m_answer, &QTimer::timeout, [] {
            auto* dialog = qobject_cast<ui::CCopyExecDlg*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            for (auto* button : dialog->findChildren<QAbstractButton*>())
                if (ui::ControlId(button) == 1 && button->isVisible())
                    button->click();
        });
        m_answer.start(20);
    }

    ~ImportTest() override { QApplication::instance()->removeEventFilter(&m_counter); }

    int Dialogs() const { return m_counter.shown; }

    int NewRecords() {
        int count = 0;
        for (const auto& record : List().Model().Records())
            count += framework.IsNewPath(record->GetPath()) ? 1 : 0;
        return count;
    }

private:
    testsupport::ScopedEnv m_runtime;
    DialogCounter m_counter;
    QTimer m_answer;
};

TEST_F(ImportTest, WatcherImportsOncePerPluggingIn) {
    Open();
    frame->OnDeviceTimer();
    EXPECT_EQ(Dialogs(), 0);

    auto demo = std::make_unique<ui::CDemoDevice>();
    ASSERT_TRUE(demo->Plug());
    frame->OnDeviceTimer();
    EXPECT_EQ(Dialogs(), 1);
    EXPECT_EQ(List().RecordCount(), ui::CDemoDevice::kRecordings);
    EXPECT_EQ(NewRecords(), ui::CDemoDevice::kRecordings);
    EXPECT_TRUE(prompts.shown.empty());

    // Still plugged in: no second import.
    frame->OnDeviceTimer();
    EXPECT_EQ(Dialogs(), 1);

    // Unplugged and plugged in again: the next tick imports again.
    demo->Unplug();
    frame->OnDeviceTimer();
    demo = std::make_unique<ui::CDemoDevice>();
    ASSERT_TRUE(demo->Plug());
    frame->OnDeviceTimer();
    EXPECT_EQ(Dialogs(), 2);
}

TEST_F(ImportTest, WatcherWaitsWhileTheWindowsAreBusy) {
    Open();
    ui::CDemoDevice demo;
    ASSERT_TRUE(demo.Plug());
    ASSERT_EQ(framework.EnableAllWindows(false), 1);
    frame->OnDeviceTimer();
    ASSERT_EQ(framework.EnableAllWindows(true), 1);
    EXPECT_EQ(Dialogs(), 0);
    // The device was seen while busy; it imports only when plugged in anew.
    frame->OnDeviceTimer();
    EXPECT_EQ(Dialogs(), 0);
}

TEST_F(ImportTest, ImportCommandCopiesFromTheCard) {
    Open();
    frame->OnCommand(app::kCmdImportSd);
    ASSERT_EQ(prompts.shown.size(), 1u); // no device at all
    EXPECT_EQ(Dialogs(), 0);

    const testsupport::TempFolder card;
    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    ASSERT_TRUE(device::sim::WriteCardFolder(
        card.Path(), device::sim::VariedRecordings(4, now - 3600, true, 1, 5)));
    device::CVirtualDeviceFile announcement;
    ASSERT_TRUE(announcement.Announce(device::VirtualDevicesFolder(), "card",
                                      device::sim::InstanceIdOf("CARD0001"), card.Path()));
    prompts.shown.clear();
    frame->OnCommand(app::kCmdImportSd);
    EXPECT_EQ(Dialogs(), 1);
    EXPECT_EQ(List().RecordCount(), 4);
    EXPECT_EQ(NewRecords(), 4);
}

TEST_F(ImportTest, DeviceSettingsNeedOneDeviceAndReadItFirst) {
    Open();
    frame->OnCommand(app::kCmdDeviceSettings);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].heading, platform::LoadText(52024)); // no device

    ui::CDemoDevice demo;
    ASSERT_TRUE(demo.Plug());
    prompts.shown.clear();
    bool opened = false;
    // The person looks at the device's settings and cancels.
    QTimer::singleShot(0, [&opened] {
        auto* dialog = qobject_cast<ui::CEcgDeviceDlg*>(QApplication::activeModalWidget());
        opened = dialog != nullptr;
        if (dialog != nullptr)
            dialog->reject();
    });
    frame->OnCommand(app::kCmdDeviceSettings);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(prompts.shown.empty());
    // The status read filled the device state before the dialog opened.
    EXPECT_EQ(framework.GetDeviceState().m_battery, 3);
    EXPECT_TRUE(frame->isEnabled());
}

} // namespace
