#include "ui/dialogs/DeviceWriteExecDlg.h"

#include "app/ECGFramework.h"

namespace ui {

namespace {

const WorkerDialogTexts kTemplate = {
    CDeviceWriteExecDlg::kTemplateId,
    "機器書き込み",
    "設定した内容を機器に書き込んでいます。",
    "%d/%d",
};

} // namespace

CDeviceWriteExecDlg::CDeviceWriteExecDlg(app::CECGFramework& framework, QWidget* parent)
    : CWorkerDialog(framework, kTemplate, parent) {}

void CDeviceWriteExecDlg::SetClock(device::CWriteWorker::Clock now) {
    m_clock = std::move(now);
}

std::unique_ptr<device::CTransferWorker>
CDeviceWriteExecDlg::MakeWorker(const std::string& progressFormat) {
    return std::make_unique<device::CWriteWorker>(*this, progressFormat,
                                                  Framework().GetDeviceState(), m_strPort, m_clock);
}

} // namespace ui
