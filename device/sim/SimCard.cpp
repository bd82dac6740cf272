#include "device/sim/SimCard.h"

#include "platform/Files.h"
#include "records/RecordFormat.h"

#include <cstdio>

namespace device::sim {

std::string CardRecordFile(const SimRecordingPlan& plan) {
    const SimRecordingContent content = SynthesizeRecording(plan);
    std::string file = records::BuildRecordFile(content.fields, content.samples, true);
    if (plan.damaged) {
        file[records::kOffChecksum] = static_cast<char>(~file[records::kOffChecksum]);
        file[records::kOffChecksum + 1] = static_cast<char>(~file[records::kOffChecksum + 1]);
    }
    return file;
}

bool WriteCardFolder(const std::string& card, const std::vector<SimRecordingPlan>& plans) {
    const std::string folder = platform::JoinPath(card, kRecorderFolder);
    if (!platform::CreateFolderTree(folder))
        return false;
    for (const SimRecordingPlan& plan : plans) {
        char name[32];
        std::snprintf(name, sizeof name, "ECG_%04X.ecg", plan.recordNumber);
        if (!platform::WriteFileAtomic(platform::JoinPath(folder, name), CardRecordFile(plan)))
            return false;
    }
    return true;
}

} // namespace device::sim
