// The engine and the status read against the simulated device on a
// pseudo-terminal, as an import drives them.
#include "ErrorOf.h"
#include "device/DeviceAccess.h"
#include "device/DeviceError.h"
#include "device/DeviceInfo.h"
#include "device/sim/SimServer.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <time.h>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>

namespace device {
namespace {

// 2026-12-10 12:04:05 in UTC+9.
constexpr std::int64_t kNow = 1796871845;

class SimulatorLinkTest : public ::testing::Test {
protected:
    SimulatorLinkTest() : m_tz("TZ", "JST-9") { ::tzset(); }
    ~SimulatorLinkTest() override { ::tzset(); }

    // A device holding `stored` recordings (more than 100 overwrite the
    // oldest), serving until the test ends.
    sim::CSimServer& Serve(int stored, std::vector<sim::Fault> faults = {},
                           sim::SimMemory memory = {}) {
        for (const auto& plan : sim::VariedRecordings(stored, kNow - 3600, true, 1, 7)) {
            sim::StoreRecording(memory, sim::BuildRecordingBlock(plan));
        }
        m_server.emplace(sim::CSimDevice(memory, std::move(faults), [] { return kNow; }));
        EXPECT_TRUE(m_server->Start());
        return *m_server;
    }

    DeviceAccess Access() {
        DeviceLinkConfig config;
        config.receiveTimeoutMs = 50;
        config.writeTimeoutMs = 50;
        config.logFolder = m_folder.Path();
        return DeviceAccess(config, m_log);
    }

    // What an import does: every recording, oldest first, then the count
    // cleared. Returns the blocks in reading order.
    std::vector<std::vector<std::uint8_t>> Import(DeviceAccess& access, const std::string& port) {
        access.Open(port);
        access.StartAccess();
        std::array<std::uint8_t, 16> index{};
        access.ReadRecordIndex(index);
        const int n = index[kIdxCount];
        std::vector<std::vector<std::uint8_t>> blocks;
        for (int k = 0; k < n; ++k) {
            std::vector<std::uint8_t> block(kRecordBlockSize);
            access.ReadRecordBlock(n - 1 - k, index,
                                   std::span<std::uint8_t, kRecordBlockSize>(block));
            blocks.push_back(std::move(block));
        }
        if (n > 0) {
            access.ClearRecordCount(index, 0);
        }
        access.EndAccess();
        access.Close();
        return blocks;
    }

    testsupport::ScopedEnv m_tz;
    testsupport::TempFolder m_folder;
    CommLog m_log;
    std::optional<sim::CSimServer> m_server;
};

TEST_F(SimulatorLinkTest, ImportReadsEveryRecordingOldestFirstAndClearsTheCount) {
    // 103 recordings: the three oldest were overwritten, the index wraps.
    sim::CSimServer& server = Serve(103);
    const sim::SimMemory before = server.MemorySnapshot();
    ASSERT_EQ(before.position, 3);
    ASSERT_EQ(before.count, 100);

    DeviceAccess access = Access();
    const auto blocks = Import(access, server.PortName());
    ASSERT_EQ(blocks.size(), 100u);
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        // The oldest remaining recording sits in the slot after the newest.
        const auto& slot = before.slots[(3 + k) % 100];
        ASSERT_TRUE(slot) << k;
        ASSERT_TRUE(std::equal(blocks[k].begin(), blocks[k].end(), slot->begin())) << k;
    }
    EXPECT_EQ(server.MemorySnapshot().count, 0);

    // A second import finds nothing.
    EXPECT_TRUE(Import(access, server.PortName()).empty());
}

TEST_F(SimulatorLinkTest, ImportSurvivesRetriableFaults) {
    // Exchanges 1 and 2 start the access and read the index; each
    // recording's first attempt fails a different way, its second succeeds.
    sim::CSimServer& server = Serve(
        3,
        {{sim::FaultKind::BadCheck, 3}, {sim::FaultKind::Silence, 5}, {sim::FaultKind::Short, 7}});
    const sim::SimMemory before = server.MemorySnapshot();
    DeviceAccess access = Access();
    const auto blocks = Import(access, server.PortName());
    ASSERT_EQ(blocks.size(), 3u);
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        EXPECT_TRUE(std::equal(blocks[k].begin(), blocks[k].end(), before.slots[k]->begin())) << k;
    }
    EXPECT_EQ(server.Exchanges(), 2u + 6u + 2u);
    EXPECT_EQ(server.MemorySnapshot().count, 0);
}

TEST_F(SimulatorLinkTest, DeviceFailuresReachTheCallerWithTheirCodes) {
    struct Case {
        const char* name;
        sim::Fault fault;
        const char* expected;
    };
    const Case cases[] = {
        {"refusal", {sim::FaultKind::Refuse, 2}, "RAR001"},
        {"bad check byte on every answer", {sim::FaultKind::BadCheck, 0}, "RAR001"},
        {"unplugged after two exchanges", {sim::FaultKind::Unplug, 2}, "TX001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::CSimServer& server = Serve(2, {c.fault});
        DeviceAccess access = Access();
        EXPECT_EQ(ErrorOf([&] { Import(access, server.PortName()); }), c.expected);
        access.Close();
        // The recordings stay on the device for the next attempt.
        EXPECT_EQ(server.MemorySnapshot().count, 2);
    }
}

TEST_F(SimulatorLinkTest, StatusReadFollowsTheClockAndSettingsWrites) {
    sim::SimMemory memory;
    memory.battery = 2;
    memory.filter = 0;
    memory.clockSet = false;
    sim::CSimServer& server = Serve(0, {}, memory);

    DeviceState state;
    DeviceAccess first = Access();
    ASSERT_TRUE(ReadDeviceInfo(first, server.PortName(), state));
    EXPECT_EQ(state.m_battery, 2);
    EXPECT_EQ(state.m_filter, 0);
    EXPECT_TRUE(state.m_clockNotSet);
    EXPECT_EQ(state.m_deviceClock, 0);

    DeviceAccess writer = Access();
    writer.Open(server.PortName());
    writer.StartAccess();
    std::array<std::uint8_t, 16> status{};
    writer.ReadDeviceStatus(status);
    writer.WriteDeviceClock(status, kNow - 86400);
    writer.WriteDeviceSettings(status, 0x02);
    writer.EndAccess();
    writer.Close();

    DeviceAccess second = Access();
    ASSERT_TRUE(ReadDeviceInfo(second, server.PortName(), state));
    EXPECT_FALSE(state.m_clockNotSet);
    EXPECT_EQ(state.m_deviceClock, kNow - 86400);
    EXPECT_EQ(state.m_filter, 2);
}

} // namespace
} // namespace device
