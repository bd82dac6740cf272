// The device settings dialog: shows the connected device's battery and
// clock and lets the person set its clock to the computer's time and turn
// its signal filter on or off, then writes both to the device.
#pragma once

#include "device/workflow/WriteWorker.h"
#include "ui/dialogs/WindowPrompts.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;

namespace app {
class CECGFramework;
}

namespace ui {

class CCommonButton;

class CEcgDeviceDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr unsigned kTemplateId = 328;
    static constexpr unsigned kIdClockCheck = 1279;
    static constexpr unsigned kIdBatteryLabel = 1281;
    static constexpr unsigned kIdClockLabel = 1282;
    static constexpr unsigned kIdFilterLabel = 1283;
    static constexpr unsigned kIdDeviceClock = 1284;
    static constexpr unsigned kIdClockNote = 1285;
    static constexpr unsigned kIdFilterNote = 1286;
    static constexpr unsigned kIdComputerClock = 1287;
    static constexpr unsigned kIdModelName = 1288;
    static constexpr unsigned kIdBatteryPicture = 1289;
    static constexpr unsigned kIdDevicePicture = 1290;
    static constexpr unsigned kIdBatteryWarning = 1291;
    static constexpr unsigned kIdFilterButton = 1294;
    static constexpr unsigned kIdFilterText = 1295;
    // The write button is the dialog's OK button.
    static constexpr unsigned kIdWriteButton = 1;
    static constexpr unsigned kIdCancelButton = 2;
    // Ends the dialog when the device has gone away.
    static constexpr int kIdDeviceGone = -1;

    // The framework's DeviceState was just read from `port` (ReadDeviceInfo).
    CEcgDeviceDlg(app::CECGFramework& framework, std::string port, QWidget* parent = nullptr);
    ~CEcgDeviceDlg() override;

    // Who shows messages; the framework's prompts, else the window prompts,
    // unless replaced.
    void SetPrompts(platform::IUserPrompts* prompts) { m_pPrompts = prompts; }
    // The clock a clock write sends (tests); the system clock otherwise.
    void SetClock(device::CWriteWorker::Clock now) { m_clock = std::move(now); }

    // platform::kIdOk after a successful write, platform::kIdCancel after a
    // cancel or a failed write, kIdDeviceGone when the device went away
    // while the dialog was open.
    int DoModal();

    // The filter value that a write sends: 0 off, any other value on.
    int Filter() const { return m_nFilter; }

public slots:
    // Enter: the write, unless the focus is on Cancel.
    void accept() override;
    // Cancel, Escape and the close box.
    void reject() override;

private:
    void BuildControls();
    void InitDialog();
    void ShowBattery();
    void ShowFilter();
    // The device clock (or its warning) and the computer's clock.
    void RefreshClocks();
    void OnClockCheck();
    void OnFilterButton();
    void OnWrite();
    void CheckDevicePresent();
    platform::IUserPrompts& Prompts();

    app::CECGFramework& m_framework;
    std::string m_strPort;
    platform::IUserPrompts* m_pPrompts = nullptr;
    CWindowPrompts m_windowPrompts;
    device::CWriteWorker::Clock m_clock;
    std::vector<std::string> m_ports;
    QString m_strOnText;
    QString m_strOffText;

    int m_nBattery = 1;
    int m_nFilter = 2;
    bool m_bClockWarn = false;
    int m_nClockCheck = 0;
    bool m_bWriting = false;

    QTimer* m_pTick = nullptr;
    QLabel* m_pDevicePicture = nullptr;
    QLabel* m_pBatteryPicture = nullptr;
    QLabel* m_pBatteryWarning = nullptr;
    QLabel* m_pDeviceClock = nullptr;
    QLabel* m_pComputerClock = nullptr;
    QCheckBox* m_pClockCheck = nullptr;
    QPushButton* m_pFilterButton = nullptr;
    QLabel* m_pFilterText = nullptr;
    CCommonButton* m_pWrite = nullptr;
    CCommonButton* m_pCancel = nullptr;
};

} // namespace ui
