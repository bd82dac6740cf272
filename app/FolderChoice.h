// Which data folders the program refuses, and why: the checks the option
// settings dialog runs before it stores a new data folder, without windows,
// so the command line can refuse the same folders with the same messages.
#pragma once

#include "platform/MountPoints.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace app {

// The longest data folder (in characters) the settings file gives back whole.
constexpr std::size_t kMaxDataFolderLength = 209;

// The refusals in the order they are checked; the first that applies wins.
enum class FolderRefusal {
    kNone,          // the folder may hold records
    kTooLong,       // longer than kMaxDataFolderLength
    kForbidden,     // the root or a system folder
    kMissing,       // no existing folder (or not an absolute path)
    kRecorderDrive, // on a removable or network drive that carries a recorder folder
    kDriveRoot,     // a mount point itself
};

// What the checks need to know of the mounted drives; a test gives its own.
struct DriveTable {
    std::vector<platform::MountEntry> mounts;
    // Whether the drive of a mount can be taken out (a card, a stick).
    std::function<bool(const platform::MountEntry&)> isRemovable;
};

// This process's mounts, with the block devices' removable flags.
DriveTable ReadDriveTable();

// The root and the system trees (/usr, /etc, /lib*, ...), compared by whole
// path components after "." and ".." are resolved, so "/usr2" is allowed
// and "/home/../usr" is not. Drives mounted below /run/media/<user>/ are
// not system trees.
bool IsForbiddenFolder(const std::string& path);

// Runs the refusals in order on the path as the dialog shows it (one
// trailing '/' allowed).
FolderRefusal CheckDataFolder(const std::string& path, const DriveTable& drives);

// The message that tells the person about the refusal; empty for kNone.
std::string RefusalText(FolderRefusal refusal);

} // namespace app
