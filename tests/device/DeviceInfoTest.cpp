#include "device/DeviceInfo.h"

#include "ScriptedPeer.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <time.h>

namespace device {
namespace {

using devicetest::Bytes;
using devicetest::ScriptedPeer;

class RecordingReporter : public IDeviceErrorReporter {
public:
    void ReportDeviceError(std::string_view code, const std::string&) override {
        m_codes.emplace_back(code);
    }
    std::vector<std::string> m_codes;
};

class DeviceInfoTest : public ::testing::Test {
protected:
    DeviceInfoTest() : m_tz("TZ", "JST-9") { ::tzset(); }
    ~DeviceInfoTest() override { ::tzset(); }

    DeviceLinkConfig Config() const {
        DeviceLinkConfig config;
        config.receiveTimeoutMs = 50;
        config.writeTimeoutMs = 50;
        return config;
    }

    // A device that answers the status read with this block.
    static std::vector<devicetest::Step> Answering(const Bytes& status) {
        return {{BuildStandardResponse(kCmdAccessStart, {}, 0)},
                {BuildStandardResponse(kCmdSingleAccess, status, 0)},
                {BuildStandardResponse(kCmdAccessEnd, {}, 0)}};
    }

    testsupport::ScopedEnv m_tz;
    CommLog m_log;
    RecordingReporter m_reporter;
};

TEST_F(DeviceInfoTest, FillsTheStateFromTheStatusBlock) {
    struct Case {
        const char* name;
        std::uint8_t byte0, byte1;
        std::array<std::uint8_t, 6> clock;
        DeviceState expected;
    };
    const DeviceState before{1234, 9, 9, false};
    const Case cases[] = {
        {"clock set", 0x03, 0x06, {26, 12, 10, 12, 4, 5}, {1796871845, 3, 2, false}},
        // An unset clock leaves the last known one alone.
        {"clock not set", 0x42, 0x04, {26, 12, 10, 12, 4, 5}, {1234, 2, 0, true}},
        {"clock bytes name no time", 0x01, 0x02, {26, 2, 30, 0, 0, 0}, {0, 1, 2, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes status(16, 0);
        status[0] = c.byte0;
        status[1] = c.byte1;
        std::copy(c.clock.begin(), c.clock.end(), status.begin() + 8);
        ScriptedPeer peer(Answering(status));
        DeviceAccess access(Config(), m_log);
        DeviceState state = before;
        ASSERT_TRUE(ReadDeviceInfo(access, peer.Port(), state, &m_reporter));
        EXPECT_FALSE(access.IsOpen());
        EXPECT_EQ(state.m_deviceClock, c.expected.m_deviceClock);
        EXPECT_EQ(state.m_battery, c.expected.m_battery);
        EXPECT_EQ(state.m_filter, c.expected.m_filter);
        EXPECT_EQ(state.m_clockNotSet, c.expected.m_clockNotSet);
        EXPECT_EQ(peer.Requests().size(), 3u);
    }
    EXPECT_TRUE(m_reporter.m_codes.empty());
}

TEST_F(DeviceInfoTest, FailureIsReportedAndLeavesTheStateAlone) {
    // The status arrives, but the end of access is refused.
    std::vector<devicetest::Step> script = Answering(Bytes(16, 0x03));
    script[2].reply = BuildStandardResponse(kCmdAccessEnd, {}, kStatusNoRetry);
    ScriptedPeer peer(script);
    DeviceAccess access(Config(), m_log);
    DeviceState state;
    EXPECT_FALSE(ReadDeviceInfo(access, peer.Port(), state, &m_reporter));
    EXPECT_FALSE(access.IsOpen());
    EXPECT_EQ(m_reporter.m_codes, std::vector<std::string>{"RAR001"});
    EXPECT_EQ(state.m_filter, -1);
    EXPECT_TRUE(state.m_clockNotSet);

    testsupport::TempFolder folder;
    EXPECT_FALSE(ReadDeviceInfo(access, folder.File("gone"), state, &m_reporter));
    EXPECT_EQ(m_reporter.m_codes.back(), "OP001");
}

} // namespace
} // namespace device
