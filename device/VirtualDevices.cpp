#include "device/VirtualDevices.h"

#include "platform/Files.h"
#include "platform/KnownFolders.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <memory>

namespace device {

namespace {

// An announcement is three short lines; anything larger is not one.
constexpr std::size_t kMaxAnnouncement = 8192;
constexpr std::string_view kSuffix = ".dev";

bool ProcessAlive(pid_t pid) {
    // EPERM: the process exists but belongs to someone else.
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

bool PortExists(const std::string& port) {
    return port.starts_with("/dev/") ? platform::FileExists(port) : platform::IsDirectory(port);
}

struct CloseDir {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

} // namespace

std::string VirtualDevicesFolder() {
    const std::string runtime = platform::RuntimeFolder();
    return runtime.empty() ? std::string() : platform::JoinPath(runtime, "devices");
}

std::string FormatVirtualDevice(const VirtualDevice& device) {
    return "InstanceId=" + device.instanceId + "\nPortName=" + device.portName +
           "\nPid=" + std::to_string(device.pid) + "\n";
}

std::optional<VirtualDevice> ParseVirtualDevice(std::string_view text) {
    std::optional<std::string> instanceId;
    std::optional<std::string> portName;
    std::optional<pid_t> pid;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (key == "InstanceId") {
            instanceId = std::string(value);
        } else if (key == "PortName") {
            portName = std::string(value);
        } else if (key == "Pid") {
            pid_t number = 0;
            const auto [ptr, ec] =
                std::from_chars(value.data(), value.data() + value.size(), number);
            if (ec == std::errc() && ptr == value.data() + value.size() && number > 0)
                pid = number;
        }
    }
    if (!instanceId || !portName || portName->empty() || !pid)
        return std::nullopt;
    return VirtualDevice{std::move(*instanceId), std::move(*portName), *pid};
}

std::vector<VirtualDevice> ReadLiveVirtualDevices(const std::string& folder) {
    std::vector<VirtualDevice> devices;
    if (folder.empty())
        return devices;
    const std::unique_ptr<DIR, CloseDir> dir(::opendir(folder.c_str()));
    if (!dir)
        return devices;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name.size() <= kSuffix.size() || !name.ends_with(kSuffix) || name.starts_with('.'))
            continue;
        const std::string path = platform::JoinPath(folder, name);
        if (!platform::IsRegularFile(path))
            continue;
        const std::optional<std::string> text = platform::ReadWholeFile(path, kMaxAnnouncement);
        if (!text)
            continue;
        std::optional<VirtualDevice> device = ParseVirtualDevice(*text);
        if (device && ProcessAlive(device->pid) && PortExists(device->portName))
            devices.push_back(std::move(*device));
    }
    return devices;
}

CVirtualDeviceFile::~CVirtualDeviceFile() {
    Withdraw();
}

bool CVirtualDeviceFile::Announce(const std::string& folder, const std::string& name,
                                  const std::string& instanceId, const std::string& portName) {
    Withdraw();
    if (folder.empty() || name.empty() || name.find('/') != std::string::npos ||
        name.starts_with('.') || !platform::CreateFolderTree(folder))
        return false;
    const std::string path = platform::JoinPath(folder, name + std::string(kSuffix));
    if (!platform::WriteFileAtomic(path, FormatVirtualDevice({instanceId, portName, ::getpid()})))
        return false;
    m_strPath = path;
    return true;
}

void CVirtualDeviceFile::Withdraw() {
    if (!m_strPath.empty()) {
        ::unlink(m_strPath.c_str());
        m_strPath.clear();
    }
}

} // namespace device
