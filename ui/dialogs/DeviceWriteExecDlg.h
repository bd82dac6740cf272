// The device write progress dialog: sends the filter setting, and the
// computer's time when the clock is to be set, on a worker thread, then
// shows that the device has them. DoModal answers platform::kIdOk once the
// device took the settings.
#pragma once

#include "device/workflow/WriteWorker.h"
#include "ui/dialogs/WorkerDialog.h"

#include <string>

namespace ui {

class CDeviceWriteExecDlg : public CWorkerDialog {
    Q_OBJECT

public:
    static constexpr unsigned kTemplateId = 215;

    // Writes the framework's device state to the device.
    CDeviceWriteExecDlg(app::CECGFramework& framework, QWidget* parent = nullptr);

    void SetPort(const std::string& port) { m_strPort = port; }
    // The clock whose time a clock write sends (tests); the system clock
    // otherwise.
    void SetClock(device::CWriteWorker::Clock now);

protected:
    std::unique_ptr<device::CTransferWorker> MakeWorker(const std::string& progressFormat) override;

private:
    std::string m_strPort;
    device::CWriteWorker::Clock m_clock;
};

} // namespace ui
