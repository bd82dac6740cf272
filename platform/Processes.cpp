#include "platform/Processes.h"

#include "platform/Files.h"

#include <dirent.h>
#include <unistd.h>

#include <array>
#include <memory>
#include <optional>
#include <string_view>

namespace platform {

namespace {

bool IsProcessId(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    for (const char c : name) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

struct CloseDir {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

std::optional<std::string> ReadLink(const std::string& path) {
    std::array<char, 4096> buffer;
    const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) {
        return std::nullopt;
    }
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

} // namespace

std::vector<std::string> RunningProcessNames() {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, CloseDir> proc(::opendir("/proc"));
    if (!proc) {
        return names;
    }
    // Processes come and go while the folder is read, and those of other
    // users hide their executable: whatever cannot be read is left out.
    while (const dirent* entry = ::readdir(proc.get())) {
        if (!IsProcessId(entry->d_name)) {
            continue;
        }
        const std::string folder = JoinPath("/proc", entry->d_name);
        if (std::optional<std::string> comm = ReadWholeFile(JoinPath(folder, "comm"), 256)) {
            if (comm->ends_with('\n')) {
                comm->pop_back();
            }
            if (!comm->empty()) {
                names.push_back(std::move(*comm));
            }
        }
        if (const std::optional<std::string> exe = ReadLink(JoinPath(folder, "exe"))) {
            std::string name = BaseName(*exe);
            if (!name.empty()) {
                names.push_back(std::move(name));
            }
        }
    }
    return names;
}

} // namespace platform
