#include "platform/SerialPort.h"
#include "platform/PseudoTerminal.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

using platform::CPseudoTerminal;
using platform::CSerialPort;

namespace {

constexpr std::uint32_t kBaud = 1500000;

// Reads what the port sent from the master side, waiting at most a few
// seconds in all so a broken write fails the test instead of hanging it.
std::vector<std::uint8_t> ReadMaster(int fd, std::size_t count) {
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < count) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, 5000) <= 0)
            break;
        std::uint8_t buffer[64];
        const ssize_t got = ::read(fd, buffer, std::min(sizeof buffer, count - bytes.size()));
        if (got <= 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return bytes;
}

bool ExclusiveFlag(const CPseudoTerminal& pty) {
    int exclusive = 0;
    EXPECT_EQ(::ioctl(pty.SlaveFd(), TIOCGEXCL, &exclusive), 0);
    return exclusive != 0;
}

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto created = CPseudoTerminal::Create();
        ASSERT_TRUE(created.has_value());
        pty.emplace(std::move(*created));
    }
    std::optional<CPseudoTerminal> pty;
};

TEST_F(SerialPortTest, OnlyOneOpenAtATimeAndCloseLeavesTheLineFree) {
    CSerialPort first;
    ASSERT_TRUE(first.Open(pty->SlavePath(), kBaud, 100, 100));
    EXPECT_TRUE(ExclusiveFlag(*pty));

    CSerialPort second;
    EXPECT_FALSE(second.Open(pty->SlavePath(), kBaud, 100, 100));
    EXPECT_FALSE(second.IsOpen());
    // While a session holds the port its flag is not stale.
    EXPECT_FALSE(pty->ClearStaleExclusive());

    first.Close();
    EXPECT_FALSE(ExclusiveFlag(*pty));
    EXPECT_TRUE(second.Open(pty->SlavePath(), kBaud, 100, 100));
}

TEST_F(SerialPortTest, AFlagLeftByASessionThatDidNotCloseIsCleared) {
    {
        platform::CUniqueFd crashed(::open(pty->SlavePath().c_str(), O_RDWR | O_NOCTTY));
        ASSERT_TRUE(crashed.IsValid());
        ASSERT_EQ(::ioctl(crashed.Get(), TIOCEXCL), 0);
    }
    EXPECT_TRUE(ExclusiveFlag(*pty));
    EXPECT_TRUE(pty->ClearStaleExclusive());
    EXPECT_FALSE(ExclusiveFlag(*pty));
}

TEST_F(SerialPortTest, ReadReturnsWhatArrivedWhenTheTimeOutPasses) {
    CSerialPort port;
    // Generous: the bytes must cross the pseudo-terminal within it.
    ASSERT_TRUE(port.Open(pty->SlavePath(), kBaud, 500, 500));
    std::vector<std::uint8_t> buffer(8, 0);
    EXPECT_EQ(port.Read(buffer), 0);

    const std::uint8_t sent[] = {0x08, 0x80, 0x00};
    ASSERT_EQ(::write(pty->MasterFd(), sent, sizeof sent), 3);
    EXPECT_EQ(port.Read(buffer), 3);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + 3),
              std::vector<std::uint8_t>(sent, sent + 3));
}

TEST_F(SerialPortTest, AFullBufferReturnsAtOnceAndTheRestWaits) {
    CSerialPort port;
    // A long time-out: the read must end because the buffer is full.
    ASSERT_TRUE(port.Open(pty->SlavePath(), kBaud, 60000, 100));
    const std::uint8_t sent[] = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(::write(pty->MasterFd(), sent, sizeof sent), 6);
    std::vector<std::uint8_t> buffer(4, 0);
    EXPECT_EQ(port.Read(buffer), 4);
    EXPECT_EQ(buffer, (std::vector<std::uint8_t>{1, 2, 3, 4}));
    buffer.assign(2, 0);
    EXPECT_EQ(port.Read(buffer), 2);
    EXPECT_EQ(buffer, (std::vector<std::uint8_t>{5, 6}));
}

TEST_F(SerialPortTest, WriteSendsEveryByteUnchanged) {
    CSerialPort port;
    ASSERT_TRUE(port.Open(pty->SlavePath(), kBaud, 100, 1000));
    // Bytes a cooked terminal would translate or swallow.
    std::vector<std::uint8_t> frame = {0x0A, 0x0D, 0x03, 0x11, 0x13, 0x7F, 0xFE, 0x00};
    for (int i = 0; i < 600; ++i)
        frame.push_back(static_cast<std::uint8_t>(i));
    EXPECT_EQ(port.Write(frame), static_cast<long>(frame.size()));
    EXPECT_EQ(ReadMaster(pty->MasterFd(), frame.size()), frame);
}

TEST_F(SerialPortTest, DiscardInputDropsWhatWasNotRead) {
    CSerialPort port;
    ASSERT_TRUE(port.Open(pty->SlavePath(), kBaud, 500, 500));
    const std::uint8_t stale[] = {9, 9, 9};
    ASSERT_EQ(::write(pty->MasterFd(), stale, sizeof stale), 3);
    // Reading one shows the bytes have reached the slave side.
    std::vector<std::uint8_t> one(1, 0);
    ASSERT_EQ(port.Read(one), 1);
    port.DiscardInput();
    EXPECT_EQ(port.Read(one), 0);
}

TEST_F(SerialPortTest, AnUnpluggedLineFailsInsteadOfTimingOut) {
    CSerialPort port;
    ASSERT_TRUE(port.Open(pty->SlavePath(), kBaud, 60000, 60000));
    pty->Close();
    std::vector<std::uint8_t> buffer(4, 0);
    EXPECT_EQ(port.Read(buffer), -1);
    const std::uint8_t frame[] = {0x08, 0x00};
    EXPECT_EQ(port.Write(frame), -1);
}

TEST_F(SerialPortTest, OpenRefusesWhatIsNotASerialLine) {
    testsupport::TempFolder folder;
    CSerialPort port;
    EXPECT_FALSE(port.Open(folder.Write("plain", "x"), kBaud, 10, 10));
    EXPECT_FALSE(port.Open(folder.File("missing"), kBaud, 10, 10));
    EXPECT_FALSE(port.IsOpen());
    std::vector<std::uint8_t> buffer(1);
    EXPECT_EQ(port.Read(buffer), -1);
}

TEST_F(SerialPortTest, ARateOutsideTheClassicTableIsAccepted) {
    CSerialPort port;
    EXPECT_TRUE(port.Open(pty->SlavePath(), 250000, 10, 10));
}

} // namespace
