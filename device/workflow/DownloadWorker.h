// The import from the device: reads every recording the device holds,
// oldest first, into record files of the data folder, asks to set an unset
// device clock first, and tells the device its recordings were taken only
// once every file is safely on disk.
//
// One rule decides what is removed: a file of the run goes only while the
// device certainly still offers its recording, that is before the count
// write is sent. A cancel or an error up to then removes the run's files
// and leaves the device as it was; from then on, whatever the device
// answers and whatever follows, the files stay, the memo re-save runs and
// the result says what happened. A cancel after the last recording was read
// no longer stops the run. A recording the data folder holds already is not
// saved again, and a damaged one is kept and named.
#pragma once

#include "device/DeviceInfo.h"
#include "device/workflow/TransferWorker.h"

#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace device {

class DeviceAccess;
class DeviceError;

class CDownloadWorker : public CTransferWorker {
public:
    using Clock = std::function<std::time_t()>;

    CDownloadWorker(IWorkerHost& host, std::string progressFormat, DeviceState& state,
                    std::string port, std::string folder, Clock now = {});

    void Run() override;

    // The record files this run wrote, in download order.
    const std::vector<std::string>& GetFiles() const { return m_files; }
    // Those still in the data folder at the end: none once the run was
    // undone.
    std::vector<std::string> GetKeptFiles() const;
    // The kept files that hold a damaged recording.
    std::vector<std::string> GetDamaged() const;
    // The files that already held recordings the device offered again.
    const std::vector<std::string>& GetPresent() const { return m_present; }
    // Finished with every file complete and the device's release of its
    // recordings confirmed.
    bool Succeeded() const;

private:
    // Reads and saves the recordings; every failure is a DeviceError.
    void Transfer();
    bool AskToSetClock(DeviceAccess& access);
    void ReportError(const DeviceError& error);
    void Finish();
    void Undo();
    // The re-save that gives each new file its memo block; the number of
    // files that could not be written.
    int CompleteFiles();

    DeviceState& m_state;
    std::string m_strPort;
    std::string m_strFolder;
    Clock m_now;
    int m_nOffered = 0;
    std::vector<std::string> m_files;
    std::vector<std::string> m_damaged;
    std::vector<std::string> m_present;
    // The count write has been sent: the device may have let go.
    bool m_bCountSent = false;
    // The device answered the count write.
    bool m_bCountConfirmed = false;
    bool m_bUndone = false;
    int m_nIncomplete = 0;
};

} // namespace device
