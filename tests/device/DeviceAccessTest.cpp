#include "device/DeviceAccess.h"
#include "ErrorOf.h"

#include "ScriptedPeer.h"
#include "device/DeviceError.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <sstream>

namespace device {
namespace {

using devicetest::Bytes;
using devicetest::ScriptedPeer;
using devicetest::Step;

Bytes Ok(std::uint8_t command, const Bytes& payload = {}) {
    return BuildStandardResponse(command, payload, 0);
}

Bytes Wire(const Frame& frame) {
    Bytes out;
    frame.Serialize(out);
    return out;
}

Bytes Counting(std::size_t n, std::uint8_t seed) {
    Bytes bytes(n);
    for (std::size_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<std::uint8_t>(seed + i * 13);
    }
    return bytes;
}

// The log lines without their time stamps, and the dump lines left out.
std::vector<std::string> LogEvents(const std::string& text) {
    std::vector<std::string> events;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("\t\t\t")) {
            continue;
        }
        const auto tab = line.find('\t');
        events.push_back(tab == std::string::npos ? line : line.substr(tab + 1));
    }
    return events;
}

// A link with a short time-out so that silence costs little, logging into
// a temporary folder.
class DeviceAccessTest : public ::testing::Test {
protected:
    DeviceLinkConfig Config() const {
        DeviceLinkConfig config;
        config.receiveTimeoutMs = 50;
        config.writeTimeoutMs = 50;
        config.logFolder = m_folder.Path();
        return config;
    }

    std::vector<std::string> Log(const ScriptedPeer& peer) const {
        return LogEvents(
            testsupport::ReadFile(m_folder.File(CommLog::PortFileStem(peer.Port()) + "_00.txt")));
    }

    testsupport::TempFolder m_folder;
    CommLog m_log;
};

TEST_F(DeviceAccessTest, FullAccessSequenceSendsTheRightFramesAndTakesThePayloads) {
    Bytes index(16, 0);
    index[kIdxPosition] = 5;
    index[kIdxCount] = 3;
    index[kIdxParity] = 0x7F; // any other bits go back cut to the parity
    index[9] = 0x11;
    Bytes status = Counting(16, 0x40);
    status[kStaBattery] = 0x42;
    const Bytes block = Counting(kRecordBlockSize, 7);
    ScriptedPeer peer({
        {Ok(kCmdAccessStart)},
        {Ok(kCmdSingleAccess, index)},
        {Ok(kCmdSingleAccess, status)},
        {BuildExtendedResponse(kCmdLongRead, block, 0, 0x21)},
        {Ok(kCmdSingleAccess)},
        {Ok(kCmdSingleAccess)},
        {Ok(kCmdSingleAccess)},
        {Ok(kCmdAccessEnd)},
    });
    DeviceAccess access(Config(), m_log);
    access.Open(peer.Port());
    EXPECT_TRUE(access.IsOpen());
    std::array<std::uint8_t, 16> indexRead{};
    std::array<std::uint8_t, 16> statusRead{};
    std::vector<std::uint8_t> blockRead(kRecordBlockSize);
    access.StartAccess();
    access.ReadRecordIndex(indexRead);
    access.ReadDeviceStatus(statusRead);
    access.ReadRecordBlock(5, indexRead, std::span<std::uint8_t, kRecordBlockSize>(blockRead));
    std::array<std::uint8_t, 16> settingsImage = statusRead;
    access.WriteDeviceSettings(settingsImage, 0x02);
    std::array<std::uint8_t, 16> clockImage = statusRead;
    access.WriteDeviceClock(clockImage, 1796871845);
    access.ClearRecordCount(indexRead, 0);
    access.EndAccess();
    access.Close();
    EXPECT_FALSE(access.IsOpen());

    EXPECT_EQ(Bytes(statusRead.begin(), statusRead.end()), status);
    EXPECT_EQ(blockRead, block);
    const auto& requests = peer.Requests();
    ASSERT_EQ(requests.size(), 8u);
    EXPECT_EQ(requests[0], Wire(AccessStart()));
    EXPECT_EQ(requests[1], Wire(SingleAccessRead(0xA0, 16)));
    EXPECT_EQ(requests[2], Wire(SingleAccessRead(0xB0, 16)));
    // Recording 5 of P = 5 wraps to slot 99.
    EXPECT_EQ(requests[3], Wire(SingleAccessLongRead(0x1000 + 99 * 0x4000, 5676)));
    EXPECT_EQ(requests[4], Wire(SingleAccessWrite(0x150, settingsImage)));
    EXPECT_EQ(requests[5], Wire(SingleAccessWrite(0x150, clockImage)));
    EXPECT_EQ(requests[6], Wire(SingleAccessWrite(0x140, indexRead)));
    EXPECT_EQ(requests[7], Wire(AccessEnd()));
    // The images as sent.
    EXPECT_EQ(settingsImage[kStaFilter], 0x02);
    EXPECT_EQ(clockImage[kStaBattery], 0x02);
    EXPECT_EQ(indexRead[kIdxCount], 0);
    EXPECT_EQ(indexRead[kIdxParity], 0x80);
    EXPECT_EQ(indexRead[9], 0x11);

    const auto log = Log(peer);
    ASSERT_EQ(log.size(), 2u + 8u * 4u);
    EXPECT_EQ(log.front(), "Info\t--- OPEN ---");
    EXPECT_EQ(log[9], "Request\tSingleAccessRead\taddress(0x0000B0) size(16)");
    EXPECT_EQ(log[13], "Request\tSingleAccessLongRead\taddress(0x18D000) size(5676)");
    EXPECT_EQ(log[16], "Response\tFrameReceiveExt\tOK(00)");
    EXPECT_EQ(log.back(), "Info\t--- CLOSE ---");
}

TEST_F(DeviceAccessTest, BadCheckByteIsRetriedOnTheSamePort) {
    Bytes bad = Ok(kCmdAccessStart);
    bad.back() ^= 0x01;
    ScriptedPeer peer({{bad}, {Ok(kCmdAccessStart)}});
    DeviceAccess access(Config(), m_log);
    access.Open(peer.Port());
    access.StartAccess();
    access.Close();
    EXPECT_EQ(peer.Requests().size(), 2u);
    const std::vector<std::string> group = {"Request\tAccessStart", "Tx\tHexData\tcontinued below",
                                            "Rx\tHexData\tcontinued below"};
    std::vector<std::string> expected = {"Info\t--- OPEN ---"};
    for (const char* response :
         {"Response\tFrameReceiveStd\tBCC_MISMATCH(00)", "Response\tFrameReceiveStd\tOK(00)"}) {
        expected.insert(expected.end(), group.begin(), group.end());
        expected.push_back(response);
    }
    expected.push_back("Info\t--- CLOSE ---");
    EXPECT_EQ(Log(peer), expected);
}

TEST_F(DeviceAccessTest, SilenceEndsWithTheReceiveErrorAfterThreeAttempts) {
    ScriptedPeer peer({{}, {}, {}});
    DeviceAccess access(Config(), m_log);
    access.Open(peer.Port());
    EXPECT_EQ(ErrorOf([&] { access.StartAccess(); }), "RX001");
    EXPECT_TRUE(access.IsOpen());
    access.Close();
    EXPECT_EQ(peer.Requests().size(), 3u);
    std::vector<std::string> expected = {"Info\t--- OPEN ---"};
    for (int attempt = 0; attempt < 3; ++attempt) {
        expected.insert(expected.end(), {"Request\tAccessStart", "Tx\tHexData\tcontinued below",
                                         "Rx\tHexData\tcontinued below", "Exception\tRX001"});
    }
    expected.push_back("Info\t--- CLOSE ---");
    EXPECT_EQ(Log(peer), expected);
}

TEST_F(DeviceAccessTest, ShortAnswersThenAFailureStatusGiveTheResponseError) {
    const Bytes answer = Ok(kCmdSingleAccess, Counting(16, 1));
    ScriptedPeer peer({
        {Bytes(answer.begin(), answer.begin() + 5)},
        {},
        {BuildStandardResponse(kCmdSingleAccess, Counting(16, 1), 0x05)},
    });
    DeviceAccess access(Config(), m_log);
    access.Open(peer.Port());
    std::array<std::uint8_t, 16> status{};
    EXPECT_EQ(ErrorOf([&] { access.ReadDeviceStatus(status); }), "RAR001");
    access.Close();
    EXPECT_EQ(peer.Requests().size(), 3u);
    const auto log = Log(peer);
    ASSERT_EQ(log.size(), 2u + 4u + 4u + 4u);
    EXPECT_EQ(log[4], "Exception\tRX001");
    EXPECT_EQ(log[8], "Exception\tRX001");
    EXPECT_EQ(log[12], "Response\tFrameReceiveStd\tERR_RESPONSE_RETRIABLE(05)");
    // The partial answer is dumped as far as it came.
    const std::string text =
        testsupport::ReadFile(m_folder.File(CommLog::PortFileStem(peer.Port()) + "_00.txt"));
    EXPECT_NE(text.find("Rx\tHexData\tcontinued below\n\t\t\t0000: 18 81 00 00 00\n"),
              std::string::npos);
}

TEST_F(DeviceAccessTest, RefusalIsNotRetried) {
    ScriptedPeer peer({{BuildStandardResponse(kCmdAccessStart, {}, kStatusNoRetry)}});
    DeviceAccess access(Config(), m_log);
    access.Open(peer.Port());
    EXPECT_EQ(ErrorOf([&] { access.StartAccess(); }), "RAR001");
    access.Close();
    EXPECT_EQ(peer.Requests().size(), 1u);
    EXPECT_EQ(Log(peer)[4], "Response\tFrameReceiveStd\tERR_RESPONSE_NORETRY(E6)");
}

TEST_F(DeviceAccessTest, ExtendedRefusalIsNotRetriedEither) {
    ScriptedPeer peer({{BuildExtendedResponse(kCmdLongRead, Bytes(kRecordBlockSize), 0xE6, 0)}});
    DeviceAccess access(Config(), m_log);
    access.Open(peer.Port());
    std::array<std::uint8_t, 16> index{};
    std::vector<std::uint8_t> block(kRecordBlockSize);
    EXPECT_EQ(ErrorOf([&] {
                  access.ReadRecordBlock(0, index,
                                         std::span<std::uint8_t, kRecordBlockSize>(block));
              }),
              "RAR001");
    EXPECT_EQ(peer.Requests().size(), 1u);
}

TEST_F(DeviceAccessTest, LeftoverBytesOfAFailedAttemptDoNotConfuseTheRetry) {
    // A wrong answer followed by stray bytes: read as the start of the next
    // answer they would make it fail too.
    Bytes first = BuildStandardResponse(kCmdAccessStart, {}, 0x01);
    first.insert(first.end(), {0xFE, 0x00, 0x10, 0x00, 0x08});
    ScriptedPeer peer({{first}, {Ok(kCmdAccessStart)}});
    DeviceAccess access(Config(), m_log);
    access.Open(peer.Port());
    EXPECT_EQ(ErrorOf([&] { access.StartAccess(); }), "no error");
    EXPECT_EQ(peer.Requests().size(), 2u);
}

TEST_F(DeviceAccessTest, ZeroFirstByteIsAFailedAttempt) {
    ScriptedPeer peer({{Bytes{0x00, 0x81, 0x00}}, {Ok(kCmdAccessEnd)}});
    DeviceAccess access(Config(), m_log);
    access.Open(peer.Port());
    EXPECT_EQ(ErrorOf([&] { access.EndAccess(); }), "no error");
    access.Close();
    EXPECT_EQ(Log(peer)[4], "Exception\tRX002");
}

// A retry of either read would meet the other's answer and fail
// differently.
TEST_F(DeviceAccessTest, WrongPayloadLengthIsNotRetried) {
    ScriptedPeer peer({{Ok(kCmdSingleAccess, Bytes(15))},
                       {BuildExtendedResponse(kCmdLongRead, Bytes(kRecordBlockSize - 2), 0, 0)}});
    DeviceAccess access(Config(), m_log);
    access.Open(peer.Port());
    std::array<std::uint8_t, 16> index{};
    EXPECT_EQ(ErrorOf([&] { access.ReadRecordIndex(index); }), "GD001");
    std::vector<std::uint8_t> block(kRecordBlockSize);
    EXPECT_EQ(ErrorOf([&] {
                  access.ReadRecordBlock(0, index,
                                         std::span<std::uint8_t, kRecordBlockSize>(block));
              }),
              "GD002");
    EXPECT_EQ(peer.Requests().size(), 2u);
}

TEST_F(DeviceAccessTest, UnpluggedDeviceFailsToSend) {
    ScriptedPeer peer({{Ok(kCmdAccessStart)}, {Bytes{}, true}});
    DeviceAccess access(Config(), m_log);
    access.Open(peer.Port());
    access.StartAccess();
    std::array<std::uint8_t, 16> status{};
    const std::string error = ErrorOf([&] { access.ReadDeviceStatus(status); });
    EXPECT_EQ(error, "TX001");
    EXPECT_EQ(peer.Requests().size(), 2u);
}

TEST_F(DeviceAccessTest, PortThatCannotBeOpenedLogsAndCloses) {
    DeviceAccess access(Config(), m_log);
    EXPECT_EQ(ErrorOf([&] { access.Open(m_folder.File("no-such-port")); }), "OP001");
    EXPECT_FALSE(access.IsOpen());
    EXPECT_FALSE(m_log.IsOpen());
    const auto log = LogEvents(testsupport::ReadFile(
        m_folder.File(CommLog::PortFileStem(m_folder.File("no-such-port")) + "_00.txt")));
    EXPECT_EQ(log, (std::vector<std::string>{"Info\t--- OPEN ---",
                                             "Exception\topen failure (OP001, ENOENT).",
                                             "Info\t--- CLOSE ---"}));
}

TEST_F(DeviceAccessTest, SecondOpenOfTheSamePortIsRefused) {
    ScriptedPeer peer({});
    DeviceAccess first(Config(), m_log);
    first.Open(peer.Port());
    CommLog otherLog;
    DeviceAccess second(Config(), otherLog);
    EXPECT_EQ(ErrorOf([&] { second.Open(peer.Port()); }), "OP001");
}

} // namespace
} // namespace device
