#include "device/sim/SimServer.h"
#include "device/DeviceAccess.h"
#include "device/DeviceError.h"
#include "device/DeviceInfo.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace device;
using namespace device::sim;

namespace {

SimMemory MemoryWith(int recordings) {
    SimMemory memory;
    memory.position = 98;
    for (const SimRecordingPlan& plan : VariedRecordings(recordings, 1767290645, true, 1, 3)) {
        SimRecordingPlan shorter = plan;
        shorter.sampleCount = 500;
        StoreRecording(memory, BuildRecordingBlock(shorter));
    }
    return memory;
}

DeviceLinkConfig FastConfig() {
    DeviceLinkConfig config;
    // Long enough for a loaded machine, short enough that a silent device
    // does not make the test drag.
    config.receiveTimeoutMs = 1000;
    config.writeTimeoutMs = 1000;
    return config;
}

// Expects the operation to fail with the code.
template <typename Operation> void ExpectCode(std::string_view code, Operation operation) {
    try {
        operation();
        ADD_FAILURE() << "no error, expected " << code;
    } catch (const DeviceError& error) {
        EXPECT_EQ(error.Code(), code);
    }
}

class SimServerTest : public ::testing::Test {
protected:
    void Serve(SimMemory memory, std::vector<Fault> faults = {}) {
        server = std::make_unique<CSimServer>(CSimDevice(std::move(memory), std::move(faults)));
        server->SetChangeHandler([this](const SimMemory&) { ++changes; });
        ASSERT_TRUE(server->Start());
    }
    CommLog log;
    std::unique_ptr<CSimServer> server;
    std::atomic<int> changes{0};
};

TEST_F(SimServerTest, AnImportOverThePortTakesEveryRecordingAndClearsTheCount) {
    Serve(MemoryWith(3));
    DeviceState state;
    DeviceAccess info(FastConfig(), log);
    ASSERT_TRUE(ReadDeviceInfo(info, server->PortName(), state));
    EXPECT_EQ(state.m_battery, 3);
    EXPECT_EQ(state.m_filter, 2);
    EXPECT_FALSE(state.m_clockNotSet);

    DeviceAccess access(FastConfig(), log);
    access.Open(server->PortName());
    access.StartAccess();
    std::array<std::uint8_t, 16> index{};
    access.ReadRecordIndex(index);
    ASSERT_EQ(index[0], 1); // slots 98, 99, 0
    ASSERT_EQ(index[2], 3);
    std::vector<int> numbers;
    for (int i = 2; i >= 0; --i) {
        std::array<std::uint8_t, kRecordBlockSize> block{};
        access.ReadRecordBlock(i, index, block);
        EXPECT_TRUE(BlockCheckMatches(block));
        numbers.push_back(block[6]);
    }
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3}));
    access.ClearRecordCount(index, 0);
    access.EndAccess();
    access.Close();

    server->Stop();
    EXPECT_EQ(server->MemorySnapshot().count, 0);
    EXPECT_EQ(changes.load(), 1);
}

TEST_F(SimServerTest, TheEngineRecoversFromACorruptedAnswer) {
    // Exchange 2 (the index read) answers with a wrong check byte once.
    Serve(MemoryWith(1), {{FaultKind::BadCheck, 2}});
    DeviceAccess access(FastConfig(), log);
    access.Open(server->PortName());
    access.StartAccess();
    std::array<std::uint8_t, 16> index{};
    access.ReadRecordIndex(index);
    EXPECT_EQ(index[2], 1);
    EXPECT_EQ(server->Exchanges(), 3u);
}

TEST_F(SimServerTest, FaultsReachTheCallerAsTheirErrorCodes) {
    struct Case {
        Fault fault;
        std::string_view code;
    };
    const Case cases[] = {
        {{FaultKind::Silence, 0}, kErrReceive},
        {{FaultKind::Short, 0}, kErrReceive},
        {{FaultKind::Refuse, 1}, kErrResponse},
        {{FaultKind::BadCheck, 0}, kErrResponse},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(FormatFault(c.fault));
        Serve(MemoryWith(1), {c.fault});
        DeviceAccess access(FastConfig(), log);
        access.Open(server->PortName());
        ExpectCode(c.code, [&] { access.StartAccess(); });
        server->Stop();
    }
}

TEST_F(SimServerTest, UnpluggingEndsTheLineAndTheRecordingsStay) {
    Serve(MemoryWith(2), {{FaultKind::Unplug, 2}});
    DeviceAccess access(FastConfig(), log);
    access.Open(server->PortName());
    access.StartAccess();
    std::array<std::uint8_t, 16> index{};
    access.ReadRecordIndex(index);
    std::array<std::uint8_t, kRecordBlockSize> block{};
    try {
        access.ReadRecordBlock(0, index, block);
        ADD_FAILURE() << "the unplugged device answered";
    } catch (const DeviceError& error) {
        EXPECT_TRUE(error.Code() == kErrReceive || error.Code() == kErrTransmit) << error.Code();
    }
    EXPECT_TRUE(server->IsUnplugged());
    access.Close();
    DeviceAccess again(FastConfig(), log);
    ExpectCode(kErrOpen, [&] { again.Open(server->PortName()); });
    EXPECT_EQ(server->MemorySnapshot().count, 2);
}

TEST_F(SimServerTest, ASecondSessionFindsTheLineFreeAfterTheFirst) {
    Serve(MemoryWith(1));
    for (int session = 0; session < 3; ++session) {
        DeviceState state;
        DeviceAccess access(FastConfig(), log);
        ASSERT_TRUE(ReadDeviceInfo(access, server->PortName(), state)) << session;
    }
}

} // namespace
