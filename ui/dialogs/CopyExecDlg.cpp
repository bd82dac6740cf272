#include "ui/dialogs/CopyExecDlg.h"

#include "app/ECGFramework.h"
#include "device/workflow/ImportStart.h"

namespace ui {

namespace {

const WorkerDialogTexts kTemplate = {
    CCopyExecDlg::kTemplateId,
    "データ取り込み",
    "心電図データをパソコンに取り込んでいます。",
    "%d/%d件のデータを取り込み中",
};

} // namespace

CCopyExecDlg::CCopyExecDlg(app::CECGFramework& framework, QWidget* parent)
    : CWorkerDialog(framework, kTemplate, parent) {}

bool CCopyExecDlg::SetPortAndFolder(const std::string& port, const std::string& folder) {
    if (!device::CheckImportFolder(folder, Prompts())) {
        return false;
    }
    m_strPort = port;
    m_strFolder = folder;
    m_card.reset();
    return true;
}

void CCopyExecDlg::SetCardCopy(device::SdCopyPlan plan) {
    m_strPort.clear();
    m_strFolder = plan.destination;
    m_card = std::move(plan);
}

void CCopyExecDlg::SetClock(device::CDownloadWorker::Clock now) {
    m_clock = std::move(now);
}

std::unique_ptr<device::CTransferWorker>
CCopyExecDlg::MakeWorker(const std::string& progressFormat) {
    // The dots on new records mark this run's records only.
    Framework().ClearNewPaths();
    if (m_strPort.empty()) {
        return std::make_unique<device::CSdCopyWorker>(*this, progressFormat,
                                                       m_card.value_or(device::SdCopyPlan{}));
    }
    return std::make_unique<device::CDownloadWorker>(
        *this, progressFormat, Framework().GetDeviceState(), m_strPort, m_strFolder, m_clock);
}

} // namespace ui
