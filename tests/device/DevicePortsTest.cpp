#include "device/DevicePorts.h"
#include "device/DeviceLink.h"
#include "device/VirtualDevices.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

using device::DeviceEntry;
using device::FindDevicePorts;
using testsupport::TempFolder;

namespace {

const std::vector<std::string> kPatterns = {"", "VID_1A3C&PID_0B71", "PID_0C00"};

class FakeEnumerator : public device::IDeviceEnumerator {
public:
    explicit FakeEnumerator(std::vector<DeviceEntry> devices, bool ok = true)
        : m_devices(std::move(devices)), m_bOk(ok) {}
    bool Enumerate(std::vector<DeviceEntry>& devices) const override {
        devices.insert(devices.end(), m_devices.begin(), m_devices.end());
        return m_bOk;
    }

private:
    std::vector<DeviceEntry> m_devices;
    bool m_bOk;
};

TEST(DevicePortsTest, MatchesPatternsCaseSensitivelyAndSortsByteWise) {
    const FakeEnumerator usb({
        {"USB\\VID_1A3C&PID_0B71\\A001", "COM9"},
        {"USB\\VID_1A3C&PID_0B71\\A002", "COM10"},
        {"USB\\vid_1a3c&pid_0b71\\A003", "COM4"},             // pattern only in another case
        {"USB\\VID_0403&PID_6001\\FT01", "/dev/ttyUSB0"},     // someone else's serial adapter
        {"USB\\VID_1A3C&PID_0C00\\B001", "/dev/ttyACM1"},     // the second pattern
        {"USB\\VID_1A3C&PID_0B71\\A004", "/media/user/CARD"}, // its storage, mounted
        {"", "/dev/ttyS0"},
    });
    std::vector<std::string> ports = {"left over"};
    EXPECT_TRUE(FindDevicePorts({&usb}, kPatterns, ports));
    EXPECT_EQ(ports,
              (std::vector<std::string>{"/dev/ttyACM1", "/media/user/CARD", "COM10", "COM9"}));
}

TEST(DevicePortsTest, NothingMatchesWithoutPatternsOrDevices) {
    const FakeEnumerator usb(
        std::vector<DeviceEntry>{{"USB\\VID_1A3C&PID_0B71\\A001", "/dev/ttyACM0"}});
    const FakeEnumerator none({});
    std::vector<std::string> ports;
    EXPECT_TRUE(FindDevicePorts({&usb}, {"", ""}, ports));
    EXPECT_TRUE(ports.empty());
    EXPECT_TRUE(FindDevicePorts({&none}, kPatterns, ports));
    EXPECT_TRUE(ports.empty());
}

TEST(DevicePortsTest, AFailedSourceIsReportedAndTheOthersStillListed) {
    const FakeEnumerator broken({{"USB\\VID_1A3C&PID_0B71\\A001", "/dev/ttyACM0"}}, false);
    const FakeEnumerator simulators(
        std::vector<DeviceEntry>{{"USB\\VID_1A3C&PID_0B71\\SIM", "/dev/pts/4"}});
    std::vector<std::string> ports;
    EXPECT_FALSE(FindDevicePorts({&broken, &simulators}, kPatterns, ports));
    EXPECT_EQ(ports, (std::vector<std::string>{"/dev/pts/4", "/dev/ttyACM0"}));
}

pid_t DeadProcessId() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

TEST(DevicePortsTest, VirtualDevicesCountOnlyWhileTheirProcessAndPortExist) {
    TempFolder run;
    const std::string card = run.File("card");
    std::filesystem::create_directory(card);
    const std::string live = std::to_string(::getpid());
    const std::string id = "USB\\VID_1A3C&PID_0B71\\SIM";
    run.Write("devices/serial.dev", "InstanceId=" + id + "1\nPortName=/dev/null\nPid=" + live);
    run.Write("devices/card.dev",
              "InstanceId=" + id + "2\r\nPortName=" + card + "\r\nPid=" + live + "\r\n");
    run.Write("devices/dead.dev", "InstanceId=" + id + "3\nPortName=/dev/zero\nPid=" +
                                      std::to_string(DeadProcessId()) + "\n");
    run.Write("devices/unplugged.dev",
              "InstanceId=" + id + "4\nPortName=/dev/pts/999999\nPid=" + live + "\n");
    run.Write("devices/no-card.dev",
              "InstanceId=" + id + "5\nPortName=" + run.File("gone") + "\nPid=" + live + "\n");
    run.Write("devices/other.dev", "InstanceId=USB\\VID_0403&PID_6001\\X\nPortName=/dev/full\n"
                                   "Pid=" +
                                       live + "\n");
    run.Write("devices/no-pid.dev", "InstanceId=" + id + "6\nPortName=/dev/random\nPid=12x\n");
    run.Write("devices/notes.txt", "InstanceId=" + id + "7\nPortName=/dev/urandom\nPid=" + live);
    std::filesystem::create_directory(run.File("devices/folder.dev"));

    const device::CVirtualDeviceEnumerator simulators(run.File("devices"));
    std::vector<std::string> ports;
    EXPECT_TRUE(FindDevicePorts({&simulators}, kPatterns, ports));
    EXPECT_EQ(ports, (std::vector<std::string>{"/dev/null", card}));

    const device::CVirtualDeviceEnumerator missing(run.File("no-such-folder"));
    EXPECT_TRUE(FindDevicePorts({&missing}, kPatterns, ports));
    EXPECT_TRUE(ports.empty());
}

TEST(DevicePortsTest, AnAnnouncementLastsAsLongAsItsOwner) {
    TempFolder run;
    const testsupport::ScopedEnv runtime("XDG_RUNTIME_DIR", run.Path());
    device::ConfigureDeviceLink({"PID_0B71"}, 2000, 1500000, "");
    const std::string folder = device::VirtualDevicesFolder();
    ASSERT_EQ(folder, run.File("rhythmora/devices"));
    std::vector<std::string> ports;
    {
        device::CVirtualDeviceFile announcement;
        EXPECT_FALSE(
            announcement.Announce(folder, "../escape", "USB\\VID_1A3C&PID_0B71\\S", "/dev/null"));
        ASSERT_TRUE(announcement.Announce(folder, "sim", "USB\\VID_1A3C&PID_0B71\\S", "/dev/null"));
        EXPECT_EQ(announcement.Path(), folder + "/sim.dev");
        FindDevicePorts(ports);
        EXPECT_NE(std::find(ports.begin(), ports.end(), "/dev/null"), ports.end());
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "/sim.dev"));
    FindDevicePorts(ports);
    EXPECT_EQ(std::find(ports.begin(), ports.end(), "/dev/null"), ports.end());
}

} // namespace
