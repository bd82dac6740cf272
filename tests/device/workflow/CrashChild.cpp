// The process the crash test kills: it saves memos, or imports from a
// simulated device, and the file-system seam ends it with SIGKILL right
// before its n-th file-system call.
//
//     crash_child memo KILL_AT ROUNDS FILE...
//     crash_child import KILL_AT PORT FOLDER
#include "CrashChild.h"
#include "FakeWorkerHost.h"
#include "device/DeviceLink.h"
#include "device/workflow/DownloadWorker.h"
#include "platform/FileCalls.h"
#include "records/ECGContentsData.h"

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

int SaveMemos(int rounds, char** files, int count) {
    for (int round = 1; round <= rounds; ++round) {
        for (int i = 0; i < count; ++i) {
            records::CECGContentsData record;
            record.SetPath(files[i]);
            record.Load();
            record.SetSituation(static_cast<std::uint16_t>(round));
            record.SetSymptomText(crashtest::RoundText(round));
            if (record.Save() == 0)
                return 3;
        }
    }
    return 0;
}

int Import(const std::string& port, const std::string& folder) {
    device::ConfigureDeviceLink({"VID_1A3C&PID_0B71"}, crashtest::kTimeoutMs, 1500000, "");
    device::DeviceState state;
    state.m_clockNotSet = false;
    testsupport::FakeWorkerHost host;
    device::CDownloadWorker worker(host, "%d/%d", state, port, folder,
                                   [] { return crashtest::kNow; });
    worker.Run();
    return worker.Succeeded() ? 0 : 4;
}

} // namespace

int main(int argc, char** argv) {
    ::setenv("TZ", "JST-9", 1);
    ::tzset();
    if (argc < 3)
        return 2;
    const std::string what = argv[1];
    platform::fs::SetFaultPlan({.killAt = std::strtoull(argv[2], nullptr, 10)});
    if (what == "memo" && argc >= 5)
        return SaveMemos(std::atoi(argv[3]), argv + 4, argc - 4);
    if (what == "import" && argc == 5)
        return Import(argv[3], argv[4]);
    return 2;
}
