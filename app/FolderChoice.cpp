#include "app/FolderChoice.h"

#include "platform/Files.h"
#include "platform/ResourceText.h"

#include <sys/sysmacros.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <string_view>

namespace app {

namespace {

constexpr unsigned kTextHddError = 51010;        // "HDD Error"
constexpr unsigned kTextSaveFolderError = 51019; // "Save Folder Error"
constexpr unsigned kTextMaxPathError = 51020;    // "ECGData Max Path Error"
constexpr unsigned kTextForbiddenFolder = 62406;

// The folder the recorder writes below the root of its card. A data folder
// on such a drive would mix the computer's records with the card's.
constexpr std::string_view kRecorderFolder = "Vtq520/data";

// The top-level trees that belong to the system rather than to a person.
constexpr std::array<std::string_view, 11> kSystemTrees = {
    "usr", "bin", "sbin", "etc", "boot", "dev", "proc", "sys", "run", "var", "opt"};

// Below /run only the drives mounted in /run/media/<user>/ are a person's:
// a stick may hold records like any other drive.
constexpr std::string_view kRemovableMounts = "media";
constexpr std::ptrdiff_t kRemovableDriveDepth = 4;

// File-system types whose files live on another machine.
constexpr std::array<std::string_view, 16> kNetworkTypes = {
    "nfs",        "nfs4",        "cifs",           "smb3",     "smbfs", "ncpfs",
    "afs",        "ceph",        "glusterfs",      "9p",       "davfs", "coda",
    "fuse.sshfs", "fuse.rclone", "fuse.glusterfs", "fuse.s3fs"};

// Characters as the settings file counts them: code points, an undecodable
// byte counting as one.
std::size_t CharacterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

bool IsNetworkType(std::string_view fsType) {
    return std::find(kNetworkTypes.begin(), kNetworkTypes.end(), fsType) != kNetworkTypes.end();
}

bool Contains(std::string_view mountPoint, std::string_view path) {
    if (mountPoint == "/")
        return true;
    return path.starts_with(mountPoint) &&
           (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

// The mount that holds the path; of two at the same place, the later one
// covers the earlier.
const platform::MountEntry* MountOf(const std::string& path, const DriveTable& drives) {
    const platform::MountEntry* found = nullptr;
    for (const platform::MountEntry& mount : drives.mounts) {
        if (Contains(mount.mountPoint, path) &&
            (found == nullptr || mount.mountPoint.size() >= found->mountPoint.size()))
            found = &mount;
    }
    return found;
}

std::optional<bool> ReadFlag(const std::string& path) {
    const std::optional<std::string> text = platform::ReadWholeFile(path, 16);
    if (!text)
        return std::nullopt;
    return !text->empty() && text->front() == '1';
}

// A partition carries no flag of its own; its disk, one level up in sysfs,
// does.
bool IsRemovableBlockDevice(const platform::MountEntry& mount) {
    const std::string node = "/sys/dev/block/" + std::to_string(major(mount.device)) + ":" +
                             std::to_string(minor(mount.device));
    if (const std::optional<bool> flag = ReadFlag(node + "/removable"))
        return *flag;
    std::error_code error;
    const std::filesystem::path real = std::filesystem::canonical(node, error);
    if (error)
        return false;
    return ReadFlag((real.parent_path() / "removable").string()).value_or(false);
}

} // namespace

DriveTable ReadDriveTable() {
    return {platform::ReadMountPoints(), IsRemovableBlockDevice};
}

bool IsForbiddenFolder(const std::string& path) {
    const std::filesystem::path normal = std::filesystem::path(path).lexically_normal();
    if (!normal.is_absolute())
        return false;
    const std::filesystem::path relative = normal.relative_path();
    if (relative.empty())
        return true;
    const std::string top = relative.begin()->string();
    // A trailing separator adds an empty last component.
    const auto depth =
        std::count_if(relative.begin(), relative.end(),
                      [](const std::filesystem::path& part) { return !part.empty(); });
    if (top == "run" && depth >= kRemovableDriveDepth &&
        *std::next(relative.begin()) == kRemovableMounts)
        return false;
    return top.starts_with("lib") ||
           std::find(kSystemTrees.begin(), kSystemTrees.end(), top) != kSystemTrees.end();
}

FolderRefusal CheckDataFolder(const std::string& path, const DriveTable& drives) {
    if (CharacterCount(path) > kMaxDataFolderLength)
        return FolderRefusal::kTooLong;
    if (IsForbiddenFolder(path))
        return FolderRefusal::kForbidden;

    std::string folder = path;
    if (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    // A relative path would depend on where the program was started.
    if (folder.empty() || folder.front() != '/' || !platform::IsDirectory(folder))
        return FolderRefusal::kMissing;

    std::error_code error;
    const std::string real = std::filesystem::canonical(folder, error).string();
    if (error)
        return FolderRefusal::kMissing;
    if (const platform::MountEntry* mount = MountOf(real, drives)) {
        const bool movable =
            IsNetworkType(mount->fsType) || (drives.isRemovable && drives.isRemovable(*mount));
        if (movable &&
            platform::IsDirectory(platform::JoinPath(mount->mountPoint, kRecorderFolder)))
            return FolderRefusal::kRecorderDrive;
    }
    const bool driveRoot = std::any_of(
        drives.mounts.begin(), drives.mounts.end(),
        [&real](const platform::MountEntry& mount) { return mount.mountPoint == real; });
    return driveRoot ? FolderRefusal::kDriveRoot : FolderRefusal::kNone;
}

std::string RefusalText(FolderRefusal refusal) {
    switch (refusal) {
    case FolderRefusal::kNone:
        return {};
    case FolderRefusal::kTooLong:
        return platform::LoadText(kTextMaxPathError);
    case FolderRefusal::kForbidden:
        return platform::LoadText(kTextForbiddenFolder);
    case FolderRefusal::kMissing:
    case FolderRefusal::kDriveRoot:
        return platform::LoadText(kTextHddError);
    case FolderRefusal::kRecorderDrive:
        return platform::LoadText(kTextSaveFolderError);
    }
    return {};
}

} // namespace app
