// Virtual devices: a simulator that serves a pseudo-terminal (or a folder
// standing in for a card) announces itself with a small file in the runtime
// folder, so device discovery lists it beside the real USB devices.
//
//   <runtime folder>/devices/<name>.dev
//     InstanceId=USB\VID_1A3C&PID_0B71\SIM0001
//     PortName=/dev/pts/7
//     Pid=12345
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace device {

struct VirtualDevice {
    std::string instanceId;
    std::string portName;
    pid_t pid = 0;
};

// <RuntimeFolder()>/devices; "" when there is no runtime folder.
std::string VirtualDevicesFolder();

// The announcement's text, and its parse; nullopt when a line is missing
// or the pid is not a positive number.
std::string FormatVirtualDevice(const VirtualDevice& device);
std::optional<VirtualDevice> ParseVirtualDevice(std::string_view text);

// The announcements in the folder whose process is alive and whose port
// exists: files left by a simulator that was killed are passed over.
std::vector<VirtualDevice> ReadLiveVirtualDevices(const std::string& folder);

// Announces a device for as long as the object lives.
class CVirtualDeviceFile {
public:
    CVirtualDeviceFile() = default;
    ~CVirtualDeviceFile();
    CVirtualDeviceFile(const CVirtualDeviceFile&) = delete;
    CVirtualDeviceFile& operator=(const CVirtualDeviceFile&) = delete;

    // Writes <folder>/<name>.dev for this process, replacing an older one of
    // that name. The name must be a plain file name (no '/', not starting
    // with '.'). False when it cannot be written.
    bool Announce(const std::string& folder, const std::string& name, const std::string& instanceId,
                  const std::string& portName);
    // Removes the file; also done by the destructor.
    void Withdraw();
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

} // namespace device
