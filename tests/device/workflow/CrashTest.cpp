// A process that saves memos, or imports from the simulated device, is
// killed with SIGKILL at pseudo-random moments (right before its n-th
// file-system call, counted by the seam in the child), many times over.
// Afterwards every record file is its old or its new version and
// complete, and the next import neither duplicates nor loses a recording.
#include "CrashChild.h"
#include "FakeWorkerHost.h"
#include "device/DeviceLink.h"
#include "device/sim/SimServer.h"
#include "device/workflow/DownloadWorker.h"
#include "platform/FileCalls.h"
#include "platform/Files.h"
#include "records/ECGContentsData.h"
#include "records/RecordEntry.h"
#include "records/RecordFolder.h"
#include "support/FaultSteps.h"
#include "support/SimRecordings.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <random>

extern char** environ;

namespace {

using testsupport::ReadFile;
using testsupport::TempFolder;

constexpr int kMemoRounds = 4;

// Runs the child to its end; its wait status.
int RunChild(std::vector<std::string> args) {
    args.insert(args.begin(), CRASH_CHILD);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, CRASH_CHILD, nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

bool KilledBySigkill(int status) {
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

std::vector<std::string> Records(const std::string& folder) {
    std::vector<std::string> paths;
    for (const auto& record : records::GatherRecordFolder(folder))
        paths.push_back(record->GetPath());
    std::sort(paths.begin(), paths.end());
    return paths;
}

class CrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "JST-9", 1);
        tzset();
        device::ConfigureDeviceLink({"VID_1A3C&PID_0B71"}, crashtest::kTimeoutMs, 1500000, "");
    }

    TempFolder folder;
    // Fixed, so that a failure can be run again as it was.
    std::mt19937 random{15};
};

TEST_F(CrashTest, AMemoSaveKilledAtAnyMomentLeavesTheOldOrTheNewFile) {
    const std::vector<std::string> files =
        testsupport::WriteSimRecordings(folder.Path(), 3, crashtest::kNow);
    std::vector<std::string> original;
    for (const std::string& file : files)
        original.push_back(ReadFile(file));
    auto restore = [&] {
        for (std::size_t i = 0; i < files.size(); ++i)
            testsupport::WriteFile(files[i], original[i]);
    };

    std::vector<std::string> args = {"memo", "0", std::to_string(kMemoRounds)};
    args.insert(args.end(), files.begin(), files.end());
    ASSERT_EQ(RunChild(args), 0);
    // Every save: create, write, flush, rename, the folder's flush.
    const std::uint64_t calls = kMemoRounds * files.size() * 5;

    std::uniform_int_distribution<std::uint64_t> moment(1, calls);
    for (int run = 0; run < 40; ++run) {
        restore();
        args[1] = std::to_string(moment(random));
        SCOPED_TRACE("killed before file-system call " + args[1]);
        ASSERT_TRUE(KilledBySigkill(RunChild(args)));

        // What the killed save left is never listed, and the next start
        // removes it: no one holds its lock any more.
        std::vector<std::string> listed = files;
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(Records(folder.Path()), listed);
        platform::RemoveStaleTemporaryFiles(folder.Path(), ".ecg");
        EXPECT_TRUE(testsupport::TemporaryFiles(folder.Path()).empty());
        for (std::size_t i = 0; i < files.size(); ++i) {
            records::CECGContentsData record;
            record.SetPath(files[i]);
            record.Load();
            ASSERT_EQ(record.GetLoadFailures(), 0) << files[i];
            const std::string now = ReadFile(files[i]);
            EXPECT_EQ(records::RecordingPart(now), records::RecordingPart(original[i]));
            const int round = record.GetSituation();
            if (round == 0) {
                EXPECT_EQ(now, original[i]);
            } else {
                EXPECT_LE(round, kMemoRounds);
                EXPECT_EQ(record.GetSymptomText(), crashtest::RoundText(round));
            }
        }
    }
}

TEST_F(CrashTest, AnImportKilledAtAnyMomentIsCompletedByTheNextOne) {
    constexpr int kRecordings = 5;
    std::vector<device::sim::SimRecordingPlan> plans(kRecordings);
    for (int i = 0; i < kRecordings; ++i) {
        plans[i].recordNumber = static_cast<std::uint16_t>(i + 1);
        plans[i].recorded = crashtest::kNow - 3600 * (kRecordings - i);
        plans[i].sampleCount = 400;
        plans[i].seed = static_cast<std::uint32_t>(i + 1);
    }
    std::unique_ptr<device::sim::CSimServer> server;
    auto plugIn = [&] {
        device::sim::SimMemory memory;
        for (const auto& plan : plans)
            device::sim::StoreRecording(memory, device::sim::BuildRecordingBlock(plan));
        memory.count = kRecordings;
        server = std::make_unique<device::sim::CSimServer>(
            device::sim::CSimDevice(memory, {}, [] { return std::int64_t{crashtest::kNow}; }));
        return server->Start();
    };
    auto importHere = [&](const std::string& into) {
        device::DeviceState state;
        state.m_clockNotSet = false;
        testsupport::FakeWorkerHost host;
        device::CDownloadWorker worker(host, "%d/%d", state, server->PortName(), into,
                                       [] { return crashtest::kNow + 3600; });
        worker.Run();
        return worker.Succeeded();
    };

    // How many file-system calls a whole import makes.
    ASSERT_TRUE(plugIn());
    const std::string measured = folder.File("measured");
    std::filesystem::create_directories(measured);
    platform::fs::SetFaultPlan({});
    ASSERT_TRUE(importHere(measured));
    const std::uint64_t calls = platform::fs::CallCount();
    ASSERT_GT(calls, 0u);

    std::uniform_int_distribution<std::uint64_t> moment(1, calls);
    for (int run = 0; run < 60; ++run) {
        const std::string data = folder.File("data" + std::to_string(run));
        std::filesystem::create_directories(data);
        ASSERT_TRUE(plugIn());
        const std::string killAt = std::to_string(moment(random));
        SCOPED_TRACE("killed before file-system call " + killAt);
        ASSERT_TRUE(KilledBySigkill(RunChild({"import", killAt, server->PortName(), data})));

        ASSERT_TRUE(importHere(data));
        EXPECT_EQ(server->MemorySnapshot().count, 0);
        EXPECT_TRUE(testsupport::TemporaryFiles(data).empty());
        const std::vector<std::string> kept = Records(data);
        std::vector<int> numbers;
        for (const std::string& path : kept) {
            records::CECGContentsData record;
            record.SetPath(path);
            record.Load();
            EXPECT_EQ(record.GetLoadFailures(), 0) << path;
            numbers.push_back(record.GetRecordNumber());
        }
        std::sort(numbers.begin(), numbers.end());
        EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3, 4, 5}));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(data),
                                std::filesystem::directory_iterator()),
                  kRecordings);
    }
}

} // namespace
