#include "platform/Files.h"

#include "platform/UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

namespace platform {

namespace {

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool SyncFd(int fd) {
    while (::fsync(fd) != 0) {
        if (errno == EINTR) {
            continue;
        }
        // EINVAL: the object cannot be synchronised at all, so nothing is
        // pending for it.
        return errno == EINVAL;
    }
    return true;
}

std::string RandomSuffix() {
    static constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string suffix(6, ' ');
    for (char& c : suffix) {
        c = kAlphabet[pick(generator)];
    }
    return suffix;
}

// A save through a symbolic link replaces the file the link leads to and
// keeps the link, as writing through it in place would.
std::string ResolveSaveTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        return path;
    }
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                               &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

// Removes the temporary file of a save unless the save went through.
class CTempFileGuard {
public:
    explicit CTempFileGuard(std::string path) : m_strPath(std::move(path)) {}
    ~CTempFileGuard() {
        if (!m_bKept) {
            ::unlink(m_strPath.c_str());
        }
    }
    CTempFileGuard(const CTempFileGuard&) = delete;
    CTempFileGuard& operator=(const CTempFileGuard&) = delete;
    void Keep() { m_bKept = true; }

private:
    std::string m_strPath;
    bool m_bKept = false;
};

std::string_view StripTrailingSlashes(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') {
        path.remove_suffix(1);
    }
    return path;
}

} // namespace

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool CreateOneFolder(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    if (::mkdir(path.c_str(), 0777) == 0) {
        return true;
    }
    return errno == EEXIST && IsDirectory(path);
}

bool CreateFolderTree(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (prefix.back() != '/' && !IsDirectory(prefix) && !CreateOneFolder(prefix)) {
            return false;
        }
    }
    return CreateOneFolder(path);
}

bool CanWrite(const std::string& path) {
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        return false;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return false;
    }
    // The superuser passes every permission test, but a file that grants
    // write permission to no one is meant to be left alone.
    return S_ISDIR(st.st_mode) || (st.st_mode & 0222) != 0;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    // O_NONBLOCK keeps a FIFO planted at the path from blocking the open.
    CUniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.IsValid()) {
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    // One byte beyond the bound tells a file of exactly maxBytes from a
    // larger one. The size from fstat is only a hint: files in /proc say 0.
    const std::size_t limit = maxBytes < SIZE_MAX ? maxBytes + 1 : maxBytes;
    std::string data;
    data.resize(std::min(static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)) + 1, limit));
    std::size_t used = 0;
    for (;;) {
        if (used == data.size()) {
            if (data.size() >= limit) {
                return std::nullopt;
            }
            data.resize(std::min(data.size() * 2, limit));
        }
        const ssize_t got = ::read(fd.Get(), data.data() + used, data.size() - used);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    if (used > maxBytes) {
        return std::nullopt;
    }
    data.resize(used);
    return data;
}

namespace {

// Puts the finished temporary file in place: over the target, or only where
// nothing is yet. Some file systems cannot refuse in the rename itself; a
// hard link then claims the name just as exclusively.
bool MoveIntoPlace(const std::string& tempPath, const std::string& target, bool replace) {
    if (replace)
        return ::rename(tempPath.c_str(), target.c_str()) == 0;
    if (::renameat2(AT_FDCWD, tempPath.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (::link(tempPath.c_str(), target.c_str()) != 0)
        return false;
    ::unlink(tempPath.c_str());
    return true;
}

bool WriteSafely(const std::string& path, std::string_view data, bool replace, int* error) {
    // errno is taken before the temporary file's removal can change it.
    auto fail = [error](int code) {
        if (error != nullptr) {
            *error = code;
        }
        return false;
    };
    if (path.empty() || path.back() == '/') {
        return fail(EINVAL);
    }
    // A new file takes the name itself: a link there is something that
    // exists, and is never followed to a file elsewhere.
    if (!replace && FileExists(path)) {
        return fail(EEXIST);
    }
    const std::string target = replace ? ResolveSaveTarget(path) : path;
    const std::string name = BaseName(target);
    const std::string parent = ParentFolder(target);
    const std::string folder = parent.empty() ? std::string(".") : parent;
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        return fail(EISDIR);
    }

    // Until its final mode is set, the new content of an existing file is
    // readable by the owner only. A new file is made with 0666 and the
    // kernel applies the umask.
    const mode_t createMode = exists ? 0600 : 0666;
    // Leaves room for ".tmp" and the suffix within a file name's 255 bytes.
    constexpr std::size_t kMaxStem = 240;
    const std::string stem = name.substr(0, kMaxStem) + ".tmp";
    std::string tempPath;
    CUniqueFd fd;
    for (int attempt = 0; attempt < 100 && !fd.IsValid(); ++attempt) {
        tempPath = JoinPath(folder, stem + RandomSuffix());
        fd = CUniqueFd(
            ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, createMode));
        if (!fd.IsValid() && errno != EEXIST) {
            return fail(errno);
        }
    }
    if (!fd.IsValid()) {
        return fail(EEXIST);
    }
    CTempFileGuard guard(tempPath);
    if (!WriteAll(fd.Get(), data)) {
        return fail(errno);
    }
    if (exists && ::fchmod(fd.Get(), old.st_mode & 07777) != 0) {
        return fail(errno);
    }
    if (!SyncFd(fd.Get()) || !fd.Close()) {
        return fail(errno);
    }
    if (!MoveIntoPlace(tempPath, target, replace)) {
        return fail(errno);
    }
    guard.Keep();
    // The new content is in place; a folder that cannot be flushed does not
    // make the save a failure, since the old file is gone either way.
    SyncPath(folder);
    return true;
}

} // namespace

bool WriteFileAtomic(const std::string& path, std::string_view data, int* error) {
    return WriteSafely(path, data, true, error);
}

bool WriteNewFileAtomic(const std::string& path, std::string_view data, int* error) {
    return WriteSafely(path, data, false, error);
}

bool SyncPath(const std::string& path) {
    CUniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    return fd.IsValid() && SyncFd(fd.Get());
}

std::string ParentFolder(const std::string& path) {
    const std::string_view trimmed = StripTrailingSlashes(path);
    const std::size_t slash = trimmed.rfind('/');
    if (slash == std::string_view::npos) {
        return {};
    }
    const std::string_view parent = StripTrailingSlashes(trimmed.substr(0, slash));
    return parent.empty() ? std::string("/") : std::string(parent);
}

std::string BaseName(const std::string& path) {
    const std::string_view trimmed = StripTrailingSlashes(path);
    if (trimmed == "/") {
        return {};
    }
    const std::size_t slash = trimmed.rfind('/');
    return std::string(slash == std::string_view::npos ? trimmed : trimmed.substr(slash + 1));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    if (folder.empty()) {
        return std::string(name);
    }
    while (!folder.empty() && folder.back() == '/') {
        folder.remove_suffix(1);
    }
    while (!name.empty() && name.front() == '/') {
        name.remove_prefix(1);
    }
    std::string joined;
    joined.reserve(folder.size() + 1 + name.size());
    joined.append(folder);
    joined += '/';
    joined.append(name);
    return joined;
}

} // namespace platform
