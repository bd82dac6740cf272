#include "FakeWorkerHost.h"
#include "device/DeviceLink.h"
#include "device/sim/SimServer.h"
#include "device/workflow/DownloadWorker.h"
#include "device/workflow/WriteWorker.h"
#include "records/ECGContentsData.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

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
        sim::SimMemory memory;
        for (int i = 0; i < before + count; ++i) {
            sim::SimRecordingPlan plan;
            plan.recordNumber = static_cast<std::uint16_t>(i + 1 - before);
            plan.recorded = kNow - 3600 * (before + count - i);
            plan.sampleCount = 400;
            plan.damaged = i - before + 1 == damaged;
            sim::StoreRecording(memory, sim::BuildRecordingBlock(plan));
        }
        memory.count = static_cast<std::uint8_t>(count);
        memory.clockSet = clockSet;
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
    EXPECT_EQ(host.lines[DialogLine::Progress], "3/3件のデータ取り込み完了");
    EXPECT_EQ(host.lines[DialogLine::Message1], "機器から心電図データをパソコンに取り込みました。");
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
    EXPECT_EQ(host.lines[DialogLine::Progress], "0/0件のデータ取り込み完了");
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

TEST_F(WorkersTest, AFileThatCannotBeCreatedEndsTheRunAndRemovesItsFiles) {
    StartDevice(3);
    state.m_clockNotSet = false;
    std::filesystem::create_directories(folder.File("d261208233507_0002.ecg"));
    CDownloadWorker worker = Download();
    worker.Run();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "can not copy 2");
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"d261208233507_0002.ecg"});
    EXPECT_EQ(m_server->MemorySnapshot().count, 3);
}

TEST_F(WorkersTest, DamagedRecordingIsKeptAsADamagedFile) {
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
