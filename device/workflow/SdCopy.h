// The import from the device's SD card: the recorder folder on the card,
// the list of record files found there, and the worker that copies them into
// the data folder under names made from their recording time. The card is
// only read.
#pragma once

#include "device/workflow/TransferWorker.h"
#include "platform/UserPrompts.h"

#include <deque>
#include <string>

namespace device {

// The recorder folder below the card's mount point: the "DirSD" setting's
// path without its drive part when it is set, else "Vtq520/data/".
std::string RecorderFolder(const std::string& mountPoint, const std::string& dirSd);

// Whether the folder exists as a directory and is not a drive root (a mount
// point), one trailing separator ignored.
bool IsExistingFolder(const std::string& folder);

struct SdCopyPlan {
    std::string source;      // ends with '/'
    std::string destination; // ends with '/'
    std::deque<std::string> files;
};

// Finds the ".ecg" files (that exact, lower-case ending) of the source. 0
// after telling the person why nothing can be copied.
int BuildSdFileList(const std::string& source, const std::string& destination,
                    platform::IUserPrompts& prompts, SdCopyPlan& plan);

class CSdCopyWorker : public CTransferWorker {
public:
    CSdCopyWorker(IWorkerHost& host, std::string progressFormat, SdCopyPlan plan);

    void Run() override;

private:
    SdCopyPlan m_plan;
};

} // namespace device
