#include "platform/UdevDevices.h"

#include <gtest/gtest.h>

#include <sys/sysmacros.h>

using platform::MountEntry;
using platform::UsbNode;
using platform::UsbPortEntry;

namespace {

TEST(UdevDevicesTest, InstanceIdsUseUpperCaseHexAndTheSerialAsGiven) {
    EXPECT_EQ(platform::FormatUsbInstanceId(0x1a3c, 0x0b71, "a0Bc12"),
              "USB\\VID_1A3C&PID_0B71\\a0Bc12");
    EXPECT_EQ(platform::FormatUsbInstanceId(0x0403, 0x6001, ""), "USB\\VID_0403&PID_6001\\");
}

TEST(UdevDevicesTest, StorageIsListedByWhereItIsMounted) {
    const std::string id = "USB\\VID_1A3C&PID_0B71\\S1";
    const std::vector<UsbNode> nodes = {
        {id, "/dev/ttyACM0", makedev(166, 0), false},
        {id, "/dev/sdb", makedev(8, 16), true},  // the whole card: not mounted
        {id, "/dev/sdb1", makedev(8, 17), true}, // its partition
        {id, "/dev/sdc1", makedev(8, 33), true}, // mounted nowhere
    };
    const std::vector<MountEntry> mounts = {
        {makedev(8, 2), "/", "ext4", "/dev/sda2"},
        {makedev(8, 17), "/media/user/SD CARD", "vfat", "/dev/sdb1"},
    };
    const std::vector<UsbPortEntry> ports = platform::UsbPortsOf(nodes, mounts);
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].portName, "/dev/ttyACM0");
    EXPECT_EQ(ports[1].portName, "/media/user/SD CARD");
    EXPECT_EQ(ports[1].instanceId, id);
}

} // namespace
