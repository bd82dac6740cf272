#include "platform/KnownFolders.h"

#include "platform/Files.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

namespace platform {

namespace {

constexpr std::size_t kMaxUserDirsBytes = 64 * 1024;

std::string GetEnv(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// XDG variables that hold relative paths are invalid and must be ignored.
std::optional<std::string> AbsoluteEnv(const char* name) {
    std::string value = GetEnv(name);
    if (value.empty() || value.front() != '/') {
        return std::nullopt;
    }
    return value;
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

// One assignment of user-dirs.dirs: XDG_DOCUMENTS_DIR="$HOME/Documents".
// The desktop writes the path either absolute or starting with $HOME, in
// double quotes, with '"', '\', '$' and '`' escaped by a backslash.
std::optional<std::string> ParseUserDirsValue(std::string_view value, const std::string& home) {
    if (value.empty() || value.front() != '"') {
        return std::nullopt;
    }
    std::string path;
    bool closed = false;
    for (std::size_t i = 1; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            path += value[++i];
        } else if (value[i] == '"') {
            closed = true;
            break;
        } else {
            path += value[i];
        }
    }
    if (!closed) {
        return std::nullopt;
    }
    constexpr std::string_view kHome = "$HOME";
    if (path.starts_with(kHome)) {
        const std::string_view rest = std::string_view(path).substr(kHome.size());
        if (!rest.empty() && rest.front() != '/') {
            return std::nullopt;
        }
        return JoinPath(home, rest);
    }
    if (path.empty() || path.front() != '/') {
        return std::nullopt;
    }
    return path;
}

std::optional<std::string> DocumentsFromUserDirs() {
    const std::optional<std::string> text =
        ReadWholeFile(JoinPath(ConfigFolder(), "user-dirs.dirs"), kMaxUserDirsBytes);
    if (!text) {
        return std::nullopt;
    }
    constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=";
    const std::string home = HomeFolder();
    std::optional<std::string> found;
    std::string_view rest = *text;
    while (!rest.empty()) {
        const std::size_t newline = rest.find('\n');
        const std::string_view line = TrimBlanks(rest.substr(0, newline));
        rest = newline == std::string_view::npos ? std::string_view() : rest.substr(newline + 1);
        if (!line.starts_with(kKey)) {
            continue;
        }
        // A later assignment wins, as it does when a shell reads the file.
        if (std::optional<std::string> path = ParseUserDirsValue(line.substr(kKey.size()), home)) {
            found = std::move(path);
        }
    }
    return found;
}

std::string HomeFromPasswordDatabase() {
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    for (;;) {
        passwd entry{};
        passwd* result = nullptr;
        const int error = ::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result);
        if (error == ERANGE && buffer.size() < 1024 * 1024) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (error != 0 || result == nullptr || result->pw_dir == nullptr) {
            return {};
        }
        return result->pw_dir;
    }
}

// The folder made (mode 0700) when missing, or "" when it cannot be made or
// is not the user's own.
std::string OwnPrivateFolder(const std::string& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    // Anyone may make this folder in /tmp first. Locks and device
    // announcements in a folder another user controls cannot be trusted.
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
        return {};
    }
    if ((st.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) {
        return {};
    }
    return folder;
}

} // namespace

std::string HomeFolder() {
    std::string home = GetEnv("HOME");
    if (home.empty()) {
        home = HomeFromPasswordDatabase();
    }
    return home.empty() ? std::string("/") : WithoutTrailingSlash(std::move(home));
}

std::string ConfigFolder() {
    if (std::optional<std::string> config = AbsoluteEnv("XDG_CONFIG_HOME")) {
        return WithoutTrailingSlash(std::move(*config));
    }
    return JoinPath(HomeFolder(), ".config");
}

std::string DocumentsFolder() {
    if (std::optional<std::string> documents = AbsoluteEnv("XDG_DOCUMENTS_DIR")) {
        return WithoutTrailingSlash(std::move(*documents));
    }
    if (std::optional<std::string> documents = DocumentsFromUserDirs()) {
        return WithoutTrailingSlash(std::move(*documents));
    }
    return JoinPath(HomeFolder(), "Documents");
}

std::string CommonDocumentsFolder() {
    return DocumentsFolder();
}

std::string RuntimeFolder() {
    // A runtime folder that is set but unusable (not mounted, removed) must
    // not make the locks fail: the one below /tmp serves then.
    if (const std::optional<std::string> base = AbsoluteEnv("XDG_RUNTIME_DIR")) {
        const std::string folder = OwnPrivateFolder(JoinPath(*base, "rhythmora"));
        if (!folder.empty())
            return folder;
    }
    return OwnPrivateFolder("/tmp/rhythmora-" + std::to_string(::getuid()));
}

} // namespace platform
