#include "platform/MountPoints.h"

#include <gtest/gtest.h>

#include <sys/sysmacros.h>

using platform::ParseMountInfo;

namespace {

TEST(MountPointsTest, ParsesFieldsAndUnescapesPaths) {
    const auto mounts = ParseMountInfo(
        "22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
        "95 22 8:17 / /media/user/SD\\040CARD rw,nosuid shared:50 master:3 - vfat /dev/sdb1 rw\n"
        "96 22 0:52 / /net rw - nfs4 server:/export rw\n");
    ASSERT_EQ(mounts.size(), 3u);
    EXPECT_EQ(mounts[1].mountPoint, "/media/user/SD CARD");
    EXPECT_EQ(mounts[1].fsType, "vfat");
    EXPECT_EQ(mounts[1].source, "/dev/sdb1");
    EXPECT_EQ(mounts[2].fsType, "nfs4");
    EXPECT_EQ(mounts[1].device, makedev(8, 17));
}

TEST(MountPointsTest, MalformedLinesAreSkipped) {
    const auto mounts = ParseMountInfo("garbage\n"
                                       "1 2 x:y / /a rw - ext4 /dev/x rw\n"
                                       "1 2 8:1 / /b rw no-separator ext4\n"
                                       "1 2 8:1 / /c\\04 rw - ext4 /dev/sdc1 rw");
    ASSERT_EQ(mounts.size(), 1u);
    EXPECT_EQ(mounts[0].mountPoint, "/c\\04");
}

} // namespace
