#include "device/workflow/TransferWorker.h"

#include "platform/TextFormat.h"

namespace device {

CTransferWorker::CTransferWorker(IWorkerHost& host, std::string progressFormat)
    : m_host(host), m_strProgressFmt(std::move(progressFormat)) {}

void CTransferWorker::SetupProgress(int total) {
    m_host.SetProgressRange(total);
    m_host.SetProgressPosition(0);
    m_host.SetLine(DialogLine::Progress, platform::FormatText(m_strProgressFmt, {0, total}));
    m_nSaved = 0;
}

void CTransferWorker::StepProgress(int done, bool added, int total, const std::string& path) {
    m_host.SetProgressPosition(done);
    m_host.SetLine(DialogLine::Progress,
                   platform::FormatText(m_strProgressFmt, {m_nSaved + 1, total}));
    if (added) {
        m_host.RecordAdded(path);
        ++m_nSaved;
    }
}

} // namespace device
