// The import from the device: reads every recording the device holds,
// oldest first, into record files of the data folder, asks to set an unset
// device clock first, and tells the device its recordings were taken only
// once every file is safely on disk. A cancelled or failed run deletes the
// files it wrote and leaves the device as it was; after the device has let
// go of its recordings the files are kept whatever follows.
#pragma once

#include "device/DeviceInfo.h"
#include "device/workflow/TransferWorker.h"

#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace device {

class DeviceAccess;

class CDownloadWorker : public CTransferWorker {
public:
    using Clock = std::function<std::time_t()>;

    CDownloadWorker(IWorkerHost& host, std::string progressFormat, DeviceState& state,
                    std::string port, std::string folder, Clock now = {});

    void Run() override;

    // The record files this run wrote, in download order.
    const std::vector<std::string>& GetFiles() const { return m_files; }

private:
    // Reads and saves the recordings; every failure is a DeviceError.
    void Transfer();
    bool AskToSetClock(DeviceAccess& access);
    void ReportError(std::string_view code);
    void Finish();
    void Abandon();

    DeviceState& m_state;
    std::string m_strPort;
    std::string m_strFolder;
    Clock m_now;
    std::vector<std::string> m_files;
    bool m_bCountCleared = false;
};

} // namespace device
