// File-system helpers with the small set of answers the records and
// settings code needs. Paths are UTF-8, separated by '/'.
#pragma once

#include <optional>
#include <string>
#include <string_view>

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

// Writes `data` to `path` crash-safely: a temporary file in the same folder
// is written, flushed to disk and renamed over the target, and the folder is
// flushed. An existing target keeps its permission bits; a new one gets
// 0666 less the umask. On failure the old file is untouched and the
// temporary file removed. Through a symbolic link, the file it leads to is
// replaced and the link kept. On failure `error` (when given) receives the
// errno of the step that failed (ENOSPC for a full disk).
bool WriteFileAtomic(const std::string& path, std::string_view data, int* error = nullptr);
// The same for a file that must not exist yet: nothing at the path is ever
// replaced, even when another process creates it meanwhile (EEXIST then).
bool WriteNewFileAtomic(const std::string& path, std::string_view data, int* error = nullptr);

// Forces a file's or folder's content to disk.
bool SyncPath(const std::string& path);

// Trailing '/' of the path are ignored. ParentFolder("/a") is "/"; a path
// without '/' has no parent folder ("").
std::string ParentFolder(const std::string& path); // without trailing '/'
std::string BaseName(const std::string& path);
// Joins with exactly one '/' between the parts.
std::string JoinPath(std::string_view folder, std::string_view name);

} // namespace platform
