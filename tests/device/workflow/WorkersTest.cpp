#include "FakeWorkerHost.h"
#include "device/DeviceLink.h"
#include "device/sim/SimServer.h"
#include "device/workflow/DownloadWorker.h"
#include "device/workflow/WriteWorker.h"
#include "platform/FileCalls.h"
#include "platform/SerialPort.h"
#include "records/ECGContentsData.h"
#include "support/FaultSteps.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>

namespace device {
namespace {

using testsupport::FakeWorkerHost;
using testsupport::TempFolder;

// 2026-12-08 23:35:07 in UTC+9.
constexpr std::time_t kNow = 1796740507;

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class WorkersTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "JST-9", 1);
        tzset();
        // A short time-out keeps the silent-device cases quick.
        ConfigureDeviceLink({"VID_1A3C&PID_0B71"}, 300, 1500000, "");
    }

    // A device holding `count` recordings with record numbers 1, 2, ...
    // (1 the oldest), stored after `before` others were taken.
    void StartDevice(int count, bool clockSet = true, std::vector<sim::Fault> faults = {},
                     int before = 0, int damaged = 0) {
        std::vector<sim::SimRecordingPlan> plans;
        for (int i = 0; i < before + count; ++i) {
            sim::SimRecordingPlan plan;
            plan.recordNumber = static_cast<std::uint16_t>(i + 1 - before);
            plan.recorded = kNow - 3600 * (before + count - i);
            plan.sampleCount = 400;
            plan.damaged = i - before + 1 == damaged;
            plans.push_back(plan);
        }
        StartDeviceWith(plans, count, clockSet, std::move(faults));
    }

    // A device holding the last `count` of these recordings.
    void StartDeviceWith(const std::vector<sim::SimRecordingPlan>& plans, int count,
                         bool clockSet = true, std::vector<sim::Fault> faults = {}) {
        sim::SimMemory memory;
        for (const sim::SimRecordingPlan& plan : plans)
            sim::StoreRecording(memory, sim::BuildRecordingBlock(plan));
        memory.count = static_cast<std::uint8_t>(count);
        memory.clockSet = clockSet;
        Serve(memory, std::move(faults));
    }

    void Serve(const sim::SimMemory& memory, std::vector<sim::Fault> faults = {}) {
        m_server = std::make_unique<sim::CSimServer>(
            sim::CSimDevice(memory, std::move(faults), [] { return std::int64_t{kNow}; }));
        ASSERT_TRUE(m_server->Start());
    }

    CDownloadWorker Download() {
        return CDownloadWorker(host, "%d/%d", state, m_server->PortName(), folder.Path(),
                               [] { return kNow; });
    }

    TempFolder folder;
    FakeWorkerHost host;
    DeviceState state;
    std::unique_ptr<sim::CSimServer> m_server;
};

TEST_F(WorkersTest, ImportTakesEveryRecordingOldestFirstAndClearsTheCount) {
    StartDevice(3, true, {}, 98); // the index wraps: slots 98, 99 and 0
    state.m_clockNotSet = false;
    CDownloadWorker worker = Download();
    worker.Run();

    EXPECT_EQ(worker.GetCancelState(), kFinished);
    EXPECT_EQ(FilesIn(folder.Path()),
              (std::vector<std::string>{"d261208233507_0001.ecg", "d261208233507_0002.ecg",
                                        "d261208233507_0003.ecg"}));
    EXPECT_EQ(host.added, worker.GetFiles());
    ASSERT_EQ(worker.GetFiles().size(), 3u);
    EXPECT_TRUE(worker.GetFiles()[0].ends_with("_0001.ecg"));
    EXPECT_TRUE(worker.GetFiles()[2].ends_with("_0003.ecg"));
    EXPECT_EQ(host.range, 3);
    EXPECT_EQ(host.lines[DialogLine::Progress], "3/3 recordings imported");
    EXPECT_EQ(host.lines[DialogLine::Message1],
              "The ECG recordings were copied from the device to the computer.");
    EXPECT_TRUE(host.okShown);
    EXPECT_FALSE(host.cancelShown);
    EXPECT_EQ(host.closeRequests, 0);
    EXPECT_EQ(m_server->MemorySnapshot().count, 0);

    // Each file got its memo block with the standard position.
    records::CECGContentsData record;
    record.SetPath(worker.GetFiles().front());
    record.Load();
    EXPECT_EQ(record.GetLoadFailures(), 0);
    EXPECT_EQ(record.GetPosition(), 8);
    EXPECT_EQ(record.GetSituation(), 0);
}

TEST_F(WorkersTest, EmptyDeviceFinishesWithoutWritingTheCount) {
    StartDevice(0);
    state.m_clockNotSet = false;
    CDownloadWorker worker = Download();
    worker.Run();
    EXPECT_EQ(worker.GetCancelState(), kFinished);
    EXPECT_EQ(host.lines[DialogLine::Progress], "0/0 recordings imported");
    EXPECT_EQ(host.lines[DialogLine::Message1], "Nothing new on the device.");
    EXPECT_TRUE(FilesIn(folder.Path()).empty());
}

TEST_F(WorkersTest, UnsetClockIsSetWhenTheUserAgrees) {
    StartDevice(1, false);
    state.m_clockNotSet = true;
    host.answers = {platform::kIdOk};
    CDownloadWorker worker = Download();
    worker.Run();
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_NE(host.questions[0].find("|時刻同期する"), std::string::npos);
    EXPECT_TRUE(m_server->MemorySnapshot().clockSet);
    EXPECT_FALSE(state.m_clockNotSet);
    EXPECT_EQ(state.m_deviceClock, kNow);
    EXPECT_EQ(FilesIn(folder.Path()).size(), 1u);
    EXPECT_TRUE(host.dialogShown);
}

TEST_F(WorkersTest, DecliningTheClockImportsNothing) {
    StartDevice(2, false);
    state.m_clockNotSet = true;
    host.answers = {platform::kIdCancel};
    CDownloadWorker worker = Download();
    worker.Run();
    EXPECT_EQ(worker.GetCancelState(), kCancelled);
    EXPECT_EQ(host.closeRequests, 1);
    EXPECT_TRUE(FilesIn(folder.Path()).empty());
    EXPECT_EQ(m_server->MemorySnapshot().count, 2);
    EXPECT_FALSE(m_server->MemorySnapshot().clockSet);
}

TEST_F(WorkersTest, CancelTakesEffectAfterTheRecordingInProgress) {
    StartDevice(5);
    state.m_clockNotSet = false;
    CDownloadWorker worker = Download();
    host.onAdded = [&worker](std::size_t n) {
        if (n == 3)
            worker.RequestCancel();
    };
    worker.Run();
    EXPECT_EQ(host.added.size(), 3u);
    EXPECT_EQ(host.closeRequests, 1);
    EXPECT_TRUE(FilesIn(folder.Path()).empty());
    EXPECT_EQ(m_server->MemorySnapshot().count, 5);
}

TEST_F(WorkersTest, UnpluggingMidwayReportsAndKeepsTheRecordings) {
    // Start, index, then two recordings answered before the line goes.
    StartDevice(4, true, {{sim::FaultKind::Unplug, 4}});
    state.m_clockNotSet = false;
    CDownloadWorker worker = Download();
    worker.Run();
    EXPECT_EQ(worker.GetCancelState(), kCancelled);
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], "COM Error|COM ERROR|");
    EXPECT_EQ(host.closeRequests, 1);
    EXPECT_TRUE(FilesIn(folder.Path()).empty());
    EXPECT_EQ(m_server->MemorySnapshot().count, 4);
}

TEST_F(WorkersTest, AFileThatCannotBeSavedEndsTheRunAndRemovesItsFiles) {
    struct Case {
        int error;
        const char* message;
    };
    // The second recording's file cannot be created: the fifth call to the
    // file system, after the first file's create, write, flush, rename and
    // the folder's flush.
    for (const Case& c : {Case{ENOSPC, "can not copy 1"}, Case{EACCES, "can not copy 2"},
                          Case{EIO, "can not copy 2"}}) {
        SCOPED_TRACE(c.error);
        StartDevice(3);
        state.m_clockNotSet = false;
        host = FakeWorkerHost();
        CDownloadWorker worker = Download();
        {
            const platform::fs::CFileFaultScope fault({.failAt = 6, .error = c.error});
            worker.Run();
        }
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0], c.message);
        EXPECT_TRUE(FilesIn(folder.Path()).empty());
        EXPECT_TRUE(worker.GetKeptFiles().empty());
        EXPECT_EQ(m_server->MemorySnapshot().count, 3);
    }
}

TEST_F(WorkersTest, AFileOfTheSameNameIsNeverReplaced) {
    // Left from an earlier import, or saved by another one at the same time.
    const std::string taken = folder.File("d261208233507_0001.ecg");
    testsupport::WriteFile(taken, "an earlier file");
    // Two recordings with the same record number, saved within one second.
    std::vector<sim::SimRecordingPlan> plans(3);
    for (int i = 0; i < 3; ++i) {
        plans[i].recordNumber = i < 2 ? 1 : 2;
        plans[i].recorded = kNow - 3600 * (3 - i);
        plans[i].sampleCount = 400;
        plans[i].seed = static_cast<std::uint32_t>(i + 1);
    }
    StartDeviceWith(plans, 3);
    state.m_clockNotSet = false;
    CDownloadWorker worker = Download();
    worker.Run();

    EXPECT_TRUE(worker.Succeeded());
    EXPECT_EQ(testsupport::ReadFile(taken), "an earlier file");
    EXPECT_EQ(FilesIn(folder.Path()),
              (std::vector<std::string>{"d261208233507_0001.ecg", "d261208233507_0002.ecg",
                                        "d261208233508_0001.ecg", "d261208233509_0001.ecg"}));
    EXPECT_EQ(worker.GetFiles().size(), 3u);
    for (const std::string& file : worker.GetFiles()) {
        records::CECGContentsData record;
        record.SetPath(file);
        record.Load();
        EXPECT_EQ(record.GetLoadFailures(), 0) << file;
    }
    EXPECT_EQ(m_server->MemorySnapshot().count, 0);
}

TEST_F(WorkersTest, ALostAnswerToTheCountWriteKeepsTheFiles) {
    // Start, index, two recordings; the count write is the fifth exchange.
    // The device applies every copy of it, but no answer comes back whole.
    const std::pair<const char*, std::vector<sim::Fault>> cases[] = {
        {"three bad check bytes",
         {{sim::FaultKind::BadCheck, 5},
          {sim::FaultKind::BadCheck, 6},
          {sim::FaultKind::BadCheck, 7}}},
        {"a cut answer",
         {{sim::FaultKind::Short, 5}, {sim::FaultKind::Short, 6}, {sim::FaultKind::Short, 7}}},
        {"the cable pulled", {{sim::FaultKind::Short, 5}, {sim::FaultKind::Unplug, 5}}},
    };
    for (const auto& [name, faults] : cases) {
        SCOPED_TRACE(name);
        std::filesystem::remove_all(folder.Path());
        std::filesystem::create_directories(folder.Path());
        host = FakeWorkerHost();
        StartDevice(2, true, faults);
        state.m_clockNotSet = false;
        CDownloadWorker worker = Download();
        worker.Run();

        EXPECT_EQ(m_server->MemorySnapshot().count, 0);
        EXPECT_EQ(worker.GetCancelState(), kFinished);
        EXPECT_FALSE(worker.Succeeded());
        EXPECT_EQ(host.closeRequests, 0);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_NE(host.messages[0].find("did not confirm"), std::string::npos) << host.messages[0];
        ASSERT_EQ(worker.GetKeptFiles().size(), 2u);
        EXPECT_EQ(FilesIn(folder.Path()).size(), 2u);
        // The re-save gave each file its memo.
        records::CECGContentsData record;
        record.SetPath(worker.GetKeptFiles().back());
        record.Load();
        EXPECT_EQ(record.GetPosition(), 8);
    }
}

TEST_F(WorkersTest, AfterAnUnansweredCountWriteTheNextImportSavesNothingTwice) {
    // The line goes as the count write is sent: the device never sees it.
    StartDevice(2, true, {{sim::FaultKind::Unplug, 4}});
    state.m_clockNotSet = false;
    {
        CDownloadWorker first = Download();
        first.Run();
        EXPECT_EQ(first.GetKeptFiles().size(), 2u);
    }
    const sim::SimMemory memory = m_server->MemorySnapshot();
    ASSERT_EQ(memory.count, 2);
    Serve(memory);

    host = FakeWorkerHost();
    CDownloadWorker again(host, "%d/%d", state, m_server->PortName(), folder.Path(),
                          [] { return kNow + 60; });
    again.Run();
    EXPECT_TRUE(again.Succeeded());
    EXPECT_TRUE(again.GetFiles().empty());
    EXPECT_EQ(again.GetPresent().size(), 2u);
    EXPECT_TRUE(host.added.empty());
    EXPECT_EQ(FilesIn(folder.Path()).size(), 2u);
    EXPECT_EQ(m_server->MemorySnapshot().count, 0);
    EXPECT_EQ(host.lines[DialogLine::Message1],
              "Nothing new on the device: the 2 recordings it holds were already in the data "
              "folder.");
}

TEST_F(WorkersTest, ACancelAfterTheLastRecordingNoLongerStopsTheRun) {
    sim::SimMemory memory;
    for (int i = 0; i < 3; ++i) {
        sim::SimRecordingPlan plan;
        plan.recordNumber = static_cast<std::uint16_t>(i + 1);
        plan.recorded = kNow - 3600 * (3 - i);
        plan.sampleCount = 400;
        sim::StoreRecording(memory, sim::BuildRecordingBlock(plan));
    }
    memory.count = 3;
    // The cancel comes as the device takes the count write, before it
    // answers the access end that follows.
    std::atomic<CDownloadWorker*> running{nullptr};
    m_server = std::make_unique<sim::CSimServer>(
        sim::CSimDevice(memory, {}, [] { return std::int64_t{kNow}; }));
    m_server->SetChangeHandler([&running](const sim::SimMemory& now) {
        if (CDownloadWorker* worker = running.load(); worker != nullptr && now.count == 0)
            worker->RequestCancel();
    });
    ASSERT_TRUE(m_server->Start());
    state.m_clockNotSet = false;
    CDownloadWorker worker = Download();
    running = &worker;
    worker.Run();
    running = nullptr;

    EXPECT_EQ(worker.GetCancelState(), kFinished);
    EXPECT_TRUE(worker.Succeeded());
    EXPECT_EQ(host.closeRequests, 0);
    EXPECT_EQ(FilesIn(folder.Path()).size(), 3u);
    EXPECT_EQ(m_server->MemorySnapshot().count, 0);
    // A cancel once the run has finished changes nothing.
    worker.RequestCancel();
    EXPECT_EQ(worker.GetCancelState(), kFinished);
}

TEST_F(WorkersTest, PortsThatCannotBeOpenedAreExplained) {
    StartDevice(1);
    state.m_clockNotSet = false;
    platform::CSerialPort other;
    ASSERT_TRUE(other.Open(m_server->PortName(), 1500000, 100, 100));
    {
        CDownloadWorker worker = Download();
        worker.Run();
    }
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_NE(host.questions[0].find("in use by another program"), std::string::npos)
        << host.questions[0];
    other.Close();

    host = FakeWorkerHost();
    CDownloadWorker gone(host, "%d/%d", state, folder.File("ttyACM9"), folder.Path());
    gone.Run();
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], "COM Error|COM ERROR|");
    EXPECT_EQ(m_server->MemorySnapshot().count, 1);
}

TEST_F(WorkersTest, DamagedRecordingIsKeptAndNamed) {
    StartDevice(3, true, {}, 0, 2);
    state.m_clockNotSet = false;
    CDownloadWorker worker = Download();
    worker.Run();
    EXPECT_EQ(worker.GetCancelState(), kFinished);
    ASSERT_EQ(worker.GetFiles().size(), 3u);
    std::vector<bool> valid;
    for (const std::string& file : worker.GetFiles()) {
        records::CECGContentsData record;
        record.SetPath(file);
        valid.push_back(record.IsValidFile());
    }
    EXPECT_EQ(valid, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(worker.GetDamaged(), std::vector<std::string>{worker.GetFiles()[1]});
    const std::string& message = host.lines[DialogLine::Message2];
    EXPECT_NE(message.find("1 recordings arrived damaged"), std::string::npos) << message;
    EXPECT_NE(message.find(folder.Path()), std::string::npos) << message;
    EXPECT_NE(message.find("d261208233507_0002.ecg"), std::string::npos) << message;
    EXPECT_EQ(m_server->MemorySnapshot().count, 0);
}

TEST_F(WorkersTest, AFailedRunRemovesItsDamagedFilesToo) {
    // Start, index, three recordings (the second damaged), then the line goes.
    StartDevice(4, true, {{sim::FaultKind::Unplug, 5}}, 0, 2);
    state.m_clockNotSet = false;
    CDownloadWorker worker = Download();
    worker.Run();
    EXPECT_EQ(worker.GetFiles().size(), 3u);
    EXPECT_TRUE(FilesIn(folder.Path()).empty());
    EXPECT_EQ(m_server->MemorySnapshot().count, 4);
}

TEST_F(WorkersTest, AnErrorAfterTheCountIsClearedKeepsTheFiles) {
    // Start, index, two recordings, the cleared count; the access end fails.
    StartDevice(2, true, {{sim::FaultKind::Unplug, 5}});
    state.m_clockNotSet = false;
    CDownloadWorker worker = Download();
    worker.Run();
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], "COM Error|COM ERROR|");
    EXPECT_EQ(m_server->MemorySnapshot().count, 0);
    EXPECT_EQ(worker.GetCancelState(), kFinished);
    EXPECT_EQ(FilesIn(folder.Path()).size(), 2u);
    records::CECGContentsData record;
    record.SetPath(worker.GetFiles().back());
    record.Load();
    EXPECT_EQ(record.GetPosition(), 8);
}

TEST_F(WorkersTest, AnImportThatFailsAtAnyStepLosesNoRecording) {
    for (const int error : {ENOSPC, EIO}) {
        SCOPED_TRACE(error);
        bool succeeded = false;
        const std::uint64_t calls = testsupport::ForEachFailingCall(
            error,
            [&] {
                std::filesystem::remove_all(folder.Path());
                std::filesystem::create_directories(folder.Path());
                host = FakeWorkerHost();
                StartDevice(3);
                state.m_clockNotSet = false;
            },
            [&] {
                CDownloadWorker worker = Download();
                worker.Run();
                succeeded = worker.Succeeded();
            },
            [&](std::uint64_t failed) {
                EXPECT_TRUE(testsupport::TemporaryFiles(folder.Path()).empty());
                const std::vector<std::string> files = FilesIn(folder.Path());
                const bool told = !host.messages.empty() || !host.questions.empty();
                if (m_server->MemorySnapshot().count == 3) {
                    // The device still offers everything: the run left nothing.
                    EXPECT_NE(failed, 0u);
                    EXPECT_TRUE(files.empty());
                    EXPECT_TRUE(told);
                    return;
                }
                EXPECT_EQ(m_server->MemorySnapshot().count, 0);
                std::vector<int> numbers;
                for (const std::string& name : files) {
                    records::CECGContentsData record;
                    record.SetPath(folder.File(name));
                    record.Load();
                    EXPECT_EQ(record.GetLoadFailures(), 0) << name;
                    numbers.push_back(record.GetRecordNumber());
                }
                std::sort(numbers.begin(), numbers.end());
                EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3}));
                EXPECT_EQ(succeeded, !told);
            });
        // Three files entered, flushed twice, the count, three re-saves.
        EXPECT_GT(calls, 20u);
    }
}

TEST_F(WorkersTest, WriteSendsTheFilterAndTheClockWhenAsked) {
    StartDevice(0);
    state.m_filter = 0;
    state.m_clockNotSet = false;
    {
        CWriteWorker worker(host, "%d/%d", state, m_server->PortName(), [] { return kNow; });
        worker.Run();
    }
    EXPECT_EQ(m_server->MemorySnapshot().filter, 0);
    EXPECT_EQ(host.lines[DialogLine::Progress], "Complete");
    EXPECT_TRUE(host.okShown);

    state.m_filter = 2;
    state.m_clockNotSet = true;
    CWriteWorker clock(host, "%d/%d", state, m_server->PortName(), [] { return kNow + 60; });
    clock.Run();
    const sim::SimMemory memory = m_server->MemorySnapshot();
    EXPECT_EQ(memory.filter, 2);
    EXPECT_TRUE(memory.clockSet);
    EXPECT_FALSE(state.m_clockNotSet);
    EXPECT_EQ(state.m_deviceClock, kNow + 60);
}

TEST_F(WorkersTest, WriteFailureKeepsTheValuesToSend) {
    StartDevice(0, true, {{sim::FaultKind::Refuse, 0}});
    state.m_filter = 0;
    state.m_clockNotSet = true;
    CWriteWorker worker(host, "%d/%d", state, m_server->PortName(), [] { return kNow; });
    worker.Run();
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], "COM Error|COM ERROR|");
    EXPECT_EQ(host.closeRequests, 1);
    EXPECT_TRUE(state.m_clockNotSet);
}

} // namespace
} // namespace device
