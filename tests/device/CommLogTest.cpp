#include "device/CommLog.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <time.h>

#include <filesystem>
#include <sstream>
#include <vector>

namespace device {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testsupport::ReadFile;

// A log whose clock reads a fixed moment, in a fixed time zone.
class CommLogTest : public ::testing::Test {
protected:
    CommLogTest() : m_tz("TZ", "JST-9") { ::tzset(); }
    ~CommLogTest() override { ::tzset(); }

    testsupport::ScopedEnv m_tz;
    testsupport::TempFolder m_folder;
    // 2026-12-10 03:04:05.067 UTC, 12:04:05.067 in UTC+9.
    std::chrono::system_clock::time_point m_now =
        std::chrono::system_clock::time_point(std::chrono::milliseconds(1796871845067LL));
    CommLog m_log{[this] { return m_now; }};
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST_F(CommLogTest, LinesCarryTimeKindAndText) {
    m_log.OpenLog("/dev/ttyACM0", m_folder.Path());
    ASSERT_TRUE(m_log.IsOpen());
    m_log.LogRequest(AccessStart());
    m_log.LogRequest(SingleAccessRead(0xB0, 16));
    m_log.LogRequest(SingleAccessLongRead(0x1000 + 99 * 0x4000, 5676));
    m_log.LogRequest(SingleAccessWrite(0x150, Bytes(16)));
    FrameReceiveStd standard;
    FrameReceiveExt extended;
    m_log.LogResponse(standard, ResponseResult::BCC_MISMATCH, 0x00);
    m_log.LogResponse(extended, ResponseResult::ERR_RESPONSE_NORETRY, 0xE6);
    m_log.LogResponse(standard, static_cast<ResponseResult>(9), 0x0A);
    m_log.LogException("RX001");
    m_log.WriteLine("odd", static_cast<LogKind>(7));
    m_log.CloseLog();
    EXPECT_FALSE(m_log.IsOpen());

    const std::string t = "2026-12-10 12:04:05.067";
    EXPECT_EQ(Lines(ReadFile(m_folder.File("ttyACM0_00.txt"))),
              (std::vector<std::string>{
                  t + "\tInfo\t--- OPEN ---",
                  t + "\tRequest\tAccessStart",
                  t + "\tRequest\tSingleAccessRead\taddress(0x0000B0) size(16)",
                  t + "\tRequest\tSingleAccessLongRead\taddress(0x18D000) size(5676)",
                  t + "\tRequest\tSingleAccessWrite\taddress(0x000150) size(16)",
                  t + "\tResponse\tFrameReceiveStd\tBCC_MISMATCH(00)",
                  t + "\tResponse\tFrameReceiveExt\tERR_RESPONSE_NORETRY(E6)",
                  t + "\tResponse\tFrameReceiveStd\tUnknow(0A)",
                  t + "\tException\tRX001",
                  t + "\tUnknow\todd",
                  t + "\tInfo\t--- CLOSE ---",
              }));
}

TEST_F(CommLogTest, DumpsSixteenBytesALineWithAGapAfterEight) {
    m_log.OpenLog("/dev/pts/3", m_folder.Path());
    std::vector<std::uint8_t> write;
    SingleAccessWrite(0x150, Bytes(16)).Serialize(write);
    m_log.LogTx(write);
    m_log.LogRx({});
    m_log.CloseLog();

    const auto lines = Lines(ReadFile(m_folder.File("pts-3_00.txt")));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[1], "2026-12-10 12:04:05.067\tTx\tHexData\tcontinued below");
    EXPECT_EQ(lines[2], "\t\t\t0000: 18 01 C0 01 50 10 00 00  00 00 00 00 00 00 00 00");
    EXPECT_EQ(lines[3], "\t\t\t0010: 00 00 00 00 00 00 00 98");
    // Nothing received: the header alone.
    EXPECT_EQ(lines[4], "2026-12-10 12:04:05.067\tRx\tHexData\tcontinued below");
}

TEST_F(CommLogTest, LongResponseDumpEndsWithAShortLine) {
    m_log.OpenLog("/dev/ttyACM0", m_folder.Path());
    Bytes response(5692);
    for (std::size_t i = 0; i < response.size(); ++i) {
        response[i] = static_cast<std::uint8_t>(i);
    }
    m_log.LogRx(response);
    m_log.CloseLog();

    const auto lines = Lines(ReadFile(m_folder.File("ttyACM0_00.txt")));
    ASSERT_EQ(lines.size(), 1u + 1u + 356u + 1u);
    EXPECT_EQ(lines[2 + 355], "\t\t\t1630: 30 31 32 33 34 35 36 37  38 39 3A 3B");
}

TEST_F(CommLogTest, KeepsElevenGenerationsPerPort) {
    for (int run = 0; run < 12; ++run) {
        m_log.OpenLog("/dev/ttyACM0", m_folder.Path());
        m_log.WriteLine("run " + std::to_string(run), LogKind::Info);
        m_log.CloseLog();
    }
    m_log.OpenLog("/dev/ttyACM1", m_folder.Path());
    m_log.CloseLog();

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path())) {
        names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected;
    for (int k = 0; k <= 10; ++k) {
        expected.push_back((k < 10 ? "ttyACM0_0" : "ttyACM0_") + std::to_string(k) + ".txt");
    }
    expected.push_back("ttyACM1_00.txt");
    EXPECT_EQ(names, expected);
    // _00 is the last run, _10 the eleventh from last; the first is gone.
    for (int k = 0; k <= 10; ++k) {
        const std::string name = expected[static_cast<std::size_t>(k)];
        EXPECT_NE(ReadFile(m_folder.File(name)).find("run " + std::to_string(11 - k) + "\n"),
                  std::string::npos)
            << name;
    }
}

TEST_F(CommLogTest, OpeningAgainClosesThePreviousFile) {
    m_log.OpenLog("/dev/ttyACM0", m_folder.Path());
    m_log.OpenLog("/dev/ttyACM1", m_folder.Path());
    m_log.CloseLog();
    const auto lines = Lines(ReadFile(m_folder.File("ttyACM0_00.txt")));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].find("--- CLOSE ---"), std::string::npos);
}

TEST_F(CommLogTest, NoUsableFolderMeansNoLog) {
    const std::string below = m_folder.File("missing/logs");
    for (const std::string& folder : {std::string(), below}) {
        m_log.OpenLog("/dev/ttyACM0", folder);
        EXPECT_FALSE(m_log.IsOpen());
        m_log.LogTx(Bytes{1, 2, 3});
        m_log.LogException("RX001");
        m_log.CloseLog();
    }
    EXPECT_TRUE(std::filesystem::is_empty(m_folder.Path()));

    // One missing level is made.
    m_log.OpenLog("/dev/ttyACM0", m_folder.File("logs"));
    EXPECT_TRUE(m_log.IsOpen());
    m_log.CloseLog();
    EXPECT_TRUE(std::filesystem::exists(m_folder.File("logs/ttyACM0_00.txt")));
}

TEST(CommLogStem, PortNamesBecomeSafeFileStems) {
    EXPECT_EQ(CommLog::PortFileStem("/dev/ttyACM0"), "ttyACM0");
    EXPECT_EQ(CommLog::PortFileStem("/dev/pts/3"), "pts-3");
    EXPECT_EQ(CommLog::PortFileStem("/dev/serial/by-id/usb-x"), "serial-by-id-usb-x");
    EXPECT_EQ(CommLog::PortFileStem("/tmp/../etc/x"), "-tmp-..-etc-x");
}

} // namespace
} // namespace device
