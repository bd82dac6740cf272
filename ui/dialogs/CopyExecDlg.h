// The import progress dialog: runs the import from the device, or the copy
// from its SD card, on a worker thread and shows how far it has come, with
// Cancel while it works and OK once an import has succeeded. DoModal answers
// platform::kIdCancel after a card copy too, which closes by itself.
#pragma once

#include "device/workflow/DownloadWorker.h"
#include "device/workflow/SdCopy.h"
#include "ui/dialogs/WorkerDialog.h"

#include <optional>
#include <string>

namespace ui {

class CCopyExecDlg : public CWorkerDialog {
    Q_OBJECT

public:
    static constexpr unsigned kTemplateId = 214;

    // The framework gives the device state, the list of new paths (emptied
    // when the run starts, RecordAdded appends) and the prompts.
    CCopyExecDlg(app::CECGFramework& framework, QWidget* parent = nullptr);

    // The device import: port and the data folder. False after the
    // "HDD Error" message when the folder is unusable.
    bool SetPortAndFolder(const std::string& port, const std::string& folder);
    // The SD-card copy instead: the plan BuildSdFileList made.
    void SetCardCopy(device::SdCopyPlan plan);
    // The download worker's clock (tests); the system clock otherwise.
    void SetClock(device::CDownloadWorker::Clock now);

protected:
    std::unique_ptr<device::CTransferWorker> MakeWorker(const std::string& progressFormat) override;

private:
    std::string m_strPort;
    std::string m_strFolder;
    std::optional<device::SdCopyPlan> m_card;
    device::CDownloadWorker::Clock m_clock;
};

} // namespace ui
