// The mounted file systems of this process, read from /proc/self/mountinfo:
// which folder a block device is mounted on, and what kind of file system.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct MountEntry {
    dev_t device = 0;       // major:minor of the mounted file system
    std::string mountPoint; // unescaped, e.g. "/media/user/SD CARD"
    std::string fsType;     // e.g. "vfat", "nfs4"
    std::string source;     // e.g. "/dev/sdb1"
};

// Parses mountinfo text; malformed lines are skipped.
std::vector<MountEntry> ParseMountInfo(std::string_view text);
// The mounts of this process; empty when mountinfo cannot be read.
std::vector<MountEntry> ReadMountPoints();

} // namespace platform
