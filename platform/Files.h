// File-system helpers with the small set of answers the records and
// settings code needs. Paths are UTF-8, separated by '/'.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

bool FileExists(const std::string& path); // anything at the path
bool IsDirectory(const std::string& path);
bool IsRegularFile(const std::string& path);

// Creates one folder level. True when the folder exists afterwards; false
// when the parent is missing or the folder cannot be made.
bool CreateOneFolder(const std::string& path);
// Creates the folder and every missing parent.
bool CreateFolderTree(const std::string& path);

// Whether the process may write to the path. A file that grants write
// permission to no one counts as protected, even for the superuser.
bool CanWrite(const std::string& path);

// Reads at most maxBytes; nullopt when the file cannot be read or is larger.
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t maxBytes);
// Fills as much of the buffer as the descriptor still gives; nullopt on a
// read error.
std::optional<std::size_t> ReadUpTo(int fd, std::span<std::uint8_t> buffer);
// The first `count` bytes of a regular file, or all of a shorter one;
// nullopt when it cannot be read.
std::optional<std::string> ReadFileStart(const std::string& path, std::size_t count);

// Writes `data` to `path` crash-safely: a temporary file in the same folder
// is written, flushed to disk and renamed over the target, and the folder is
// flushed. An existing target keeps its permission bits, and its owner and
// group where the process may set them; a new one gets 0666 less the umask.
// On failure the old file is untouched and the temporary file removed.
// Through a symbolic link, the file it leads to is replaced and the link
// kept. On failure `error` (when given) receives the errno of the step that
// failed (ENOSPC for a full disk).
bool WriteFileAtomic(const std::string& path, std::string_view data, int* error = nullptr);
// The same for a file that must not exist yet: the complete file takes the
// name only if nothing has it at that moment, so a file of the same name,
// even one another process saves at the same time, is never replaced.
// False with EEXIST when the name is taken.
bool WriteNewFileAtomic(const std::string& path, std::string_view data, int* error = nullptr);

// The name of the file a save's temporary file is for, when `name` is one
// (".<target>.<suffix>.tmp", or "<target>.tmp<suffix>" from earlier
// versions); folder listings skip such names.
std::optional<std::string> TemporaryTarget(std::string_view name);

// Removes the temporary files left in the folder by saves of files whose
// names end in `targetEnding` (ASCII case ignored) whose writer is gone (a
// killed process); a live writer holds a lock on its temporary file. Gives
// the number removed.
int RemoveStaleTemporaryFiles(const std::string& folder, std::string_view targetEnding);

// The names in the folder, "." and ".." aside, in the order the file
// system gives them; none when it cannot be read.
std::vector<std::string> FolderEntries(const std::string& folder);

// Removes the file (not a folder); false when it is still there.
bool RemoveFile(const std::string& path);

// Forces a file's or folder's content to disk.
bool SyncPath(const std::string& path);

// Trailing '/' of the path are ignored. ParentFolder("/a") is "/"; a path
// without '/' has no parent folder ("").
std::string ParentFolder(const std::string& path); // without trailing '/'
std::string BaseName(const std::string& path);
// Joins with exactly one '/' between the parts.
std::string JoinPath(std::string_view folder, std::string_view name);

} // namespace platform
