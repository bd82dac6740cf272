#include "platform/Files.h"

#include "platform/FileCalls.h"
#include "platform/ProfileText.h"
#include "platform/UniqueFd.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

namespace platform {

namespace {

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = fs::Write(fd, data.data(), data.size());
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
    while (fs::Sync(fd) != 0) {
        if (errno == EINTR) {
            continue;
        }
        // EINVAL: the object cannot be synchronised at all, so nothing is
        // pending for it.
        return errno == EINVAL;
    }
    return true;
}

constexpr std::size_t kSuffixLength = 6;
constexpr std::string_view kTempEnd = ".tmp";
// Leaves room for the dots, the suffix and ".tmp" within a file name's 255
// bytes.
constexpr std::size_t kMaxStem = 240;

std::string RandomSuffix() {
    static constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string suffix(kSuffixLength, ' ');
    for (char& c : suffix) {
        c = kAlphabet[pick(generator)];
    }
    return suffix;
}

bool IsSuffix(std::string_view text) {
    return text.size() == kSuffixLength && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
           });
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

bool LockFd(int fd, int how) {
    while (::flock(fd, how) != 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

// The temporary file of one save, ".<target>.<suffix>.tmp" beside the
// target, locked while it is written so that a clean-up never takes it
// from a live writer; removed unless the save went through.
class CTemporaryFile {
public:
    CTemporaryFile() = default;
    ~CTemporaryFile() {
        if (!m_strPath.empty() && !m_bKept) {
            fs::Unlink(m_strPath.c_str());
        }
    }
    CTemporaryFile(const CTemporaryFile&) = delete;
    CTemporaryFile& operator=(const CTemporaryFile&) = delete;

    // 0 once created, else the errno.
    int Create(const std::string& folder, const std::string& target, mode_t mode) {
        const std::string stem = "." + target.substr(0, kMaxStem) + ".";
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string path =
                JoinPath(folder, stem + RandomSuffix() + std::string(kTempEnd));
            CUniqueFd fd(fs::Create(path.c_str(), O_RDWR | O_CLOEXEC, mode));
            if (!fd.IsValid()) {
                if (errno == EEXIST) {
                    continue;
                }
                return errno;
            }
            // A clean-up may have taken the fresh file before the lock was
            // held; it is then gone and another name is tried. A file
            // system without locks is written all the same.
            struct stat st {};
            if (LockFd(fd.Get(), LOCK_EX) && ::fstat(fd.Get(), &st) == 0 && st.st_nlink == 0) {
                continue;
            }
            m_strPath = path;
            m_fd = std::move(fd);
            return 0;
        }
        return EEXIST;
    }

    int Fd() const { return m_fd.Get(); }
    const std::string& Path() const { return m_strPath; }
    // Flushes the content to disk and closes; 0 or the errno.
    int SyncAndClose() {
        if (!SyncFd(m_fd.Get()) || !m_fd.Close()) {
            return errno;
        }
        return 0;
    }
    // The file now has its final name.
    void Keep() { m_bKept = true; }

private:
    std::string m_strPath;
    CUniqueFd m_fd;
    bool m_bKept = false;
};

// The replacement of a file keeps its owner and group where the process
// may set them (the group alone often is allowed), so a save into a shared
// folder leaves the file its owner's.
void KeepOwner(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
}

std::string FolderOf(const std::string& path) {
    const std::string parent = ParentFolder(path);
    return parent.empty() ? std::string(".") : parent;
}

// Hands the errno of the failed step to the caller; taken before the
// temporary file's removal can change errno.
bool Fail(int* error, int code) {
    if (error != nullptr) {
        *error = code;
    }
    return false;
}

// The complete content, flushed to disk under a temporary name beside the
// target; with `old`, the owner, group and mode of the file it replaces.
// 0 or the errno of the step that failed.
int WriteTemporary(CTemporaryFile& temp, const std::string& target, std::string_view data,
                   const struct stat* old) {
    // Until its final mode is set, the new content of an existing file is
    // readable by the owner only. A new file is made with 0666 and the
    // kernel applies the umask.
    if (const int code = temp.Create(FolderOf(target), BaseName(target), old ? 0600 : 0666)) {
        return code;
    }
    if (!WriteAll(temp.Fd(), data)) {
        return errno;
    }
    if (old != nullptr) {
        KeepOwner(temp.Fd(), *old);
        if (::fchmod(temp.Fd(), old->st_mode & 07777) != 0) {
            return errno;
        }
    }
    return temp.SyncAndClose();
}

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
    if (fs::Mkdir(path.c_str(), 0777) == 0) {
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

std::optional<std::size_t> ReadUpTo(int fd, std::span<std::uint8_t> buffer) {
    std::size_t used = 0;
    while (used < buffer.size()) {
        const ssize_t got = ::read(fd, buffer.data() + used, buffer.size() - used);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    return used;
}

std::optional<std::string> ReadFileStart(const std::string& path, std::size_t count) {
    CUniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (!fd.IsValid() || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    std::string data(count, '\0');
    const std::optional<std::size_t> used =
        ReadUpTo(fd.Get(), {reinterpret_cast<std::uint8_t*>(data.data()), data.size()});
    if (!used) {
        return std::nullopt;
    }
    data.resize(*used);
    return data;
}

bool WriteFileAtomic(const std::string& path, std::string_view data, int* error) {
    if (path.empty() || path.back() == '/') {
        return Fail(error, EINVAL);
    }
    const std::string target = ResolveSaveTarget(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        return Fail(error, EISDIR);
    }
    CTemporaryFile temp;
    if (const int code = WriteTemporary(temp, target, data, exists ? &old : nullptr)) {
        return Fail(error, code);
    }
    if (fs::Rename(temp.Path().c_str(), target.c_str()) != 0) {
        return Fail(error, errno);
    }
    temp.Keep();
    // The new content is in place; a folder that cannot be flushed does not
    // make the save a failure, since the old file is gone either way.
    SyncPath(FolderOf(target));
    return true;
}

bool WriteNewFileAtomic(const std::string& path, std::string_view data, int* error) {
    if (path.empty() || path.back() == '/') {
        return Fail(error, EINVAL);
    }
    if (FileExists(path)) {
        return Fail(error, EEXIST);
    }
    CTemporaryFile temp;
    if (const int code = WriteTemporary(temp, path, data, nullptr)) {
        return Fail(error, code);
    }
    // The name is taken only if it is free at that very moment, whoever
    // else saves into the folder. A file system that cannot rename that
    // way gets a hard link, which refuses a taken name as well; the
    // temporary name then goes with the guard.
    if (fs::RenameNoReplace(temp.Path().c_str(), path.c_str()) == 0) {
        temp.Keep();
    } else if (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP) {
        if (fs::Link(temp.Path().c_str(), path.c_str()) != 0) {
            return Fail(error, errno);
        }
    } else {
        return Fail(error, errno);
    }
    SyncPath(FolderOf(path));
    return true;
}

std::optional<std::string> TemporaryTarget(std::string_view name) {
    // ".<target>.<suffix>.tmp"
    const std::size_t frame = 1 + 1 + kSuffixLength + kTempEnd.size();
    if (name.size() > frame && name.front() == '.' && name.ends_with(kTempEnd)) {
        const std::size_t dot = name.size() - kTempEnd.size() - kSuffixLength - 1;
        if (name[dot] == '.' && IsSuffix(name.substr(dot + 1, kSuffixLength))) {
            return std::string(name.substr(1, dot - 1));
        }
    }
    // "<target>.tmp<suffix>", as earlier versions named them.
    const std::size_t legacy = kTempEnd.size() + kSuffixLength;
    if (name.size() > legacy && name.substr(name.size() - legacy, kTempEnd.size()) == kTempEnd &&
        IsSuffix(name.substr(name.size() - kSuffixLength))) {
        return std::string(name.substr(0, name.size() - legacy));
    }
    return std::nullopt;
}

int RemoveStaleTemporaryFiles(const std::string& folder, std::string_view targetEnding) {
    int removed = 0;
    for (const std::string& name : FolderEntries(folder)) {
        const std::optional<std::string> target = TemporaryTarget(name);
        if (!target || target->size() < targetEnding.size() ||
            !EqualsNoCase(std::string_view(*target).substr(target->size() - targetEnding.size()),
                          targetEnding)) {
            continue;
        }
        const std::string path = JoinPath(folder, name);
        CUniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
        struct stat held {};
        if (!fd.IsValid() || ::fstat(fd.Get(), &held) != 0 || !S_ISREG(held.st_mode)) {
            continue;
        }
        // A writer holds the lock from the moment its file exists until it
        // has its final name; a free lock means the writer is gone.
        if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
            continue;
        }
        struct stat now {};
        if (::lstat(path.c_str(), &now) == 0 && now.st_dev == held.st_dev &&
            now.st_ino == held.st_ino && fs::Unlink(path.c_str()) == 0) {
            ++removed;
        }
    }
    return removed;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    while (dir) {
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            break;
        }
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    return names;
}

bool RemoveFile(const std::string& path) {
    return fs::Unlink(path.c_str()) == 0 || errno == ENOENT;
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
