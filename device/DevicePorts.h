// Device discovery: the port names of the present devices whose instance id
// contains one of the configured id patterns, real USB devices and the
// virtual devices of running simulators alike.
#pragma once

#include <string>
#include <vector>

namespace device {

struct DeviceEntry {
    std::string instanceId; // USB\VID_1A3C&PID_0B71\<serial>
    std::string portName;   // a tty node ("/dev/ttyACM0") or a card's mount point
};

// One source of present devices.
class IDeviceEnumerator {
public:
    virtual ~IDeviceEnumerator() = default;
    // Appends the devices present now; false when the enumeration failed
    // (what was appended before the failure stays).
    virtual bool Enumerate(std::vector<DeviceEntry>& devices) const = 0;
};

// USB tty nodes and mounted USB storage, through udev.
class CUdevEnumerator : public IDeviceEnumerator {
public:
    bool Enumerate(std::vector<DeviceEntry>& devices) const override;
};

// The live announcements in a virtual-devices folder.
class CVirtualDeviceEnumerator : public IDeviceEnumerator {
public:
    explicit CVirtualDeviceEnumerator(std::string folder) : m_strFolder(std::move(folder)) {}
    bool Enumerate(std::vector<DeviceEntry>& devices) const override;

private:
    std::string m_strFolder;
};

// Fills `ports` with the port names of the devices of all sources whose
// instance id contains one of the patterns (exact, case-sensitive; empty
// patterns are skipped), sorted byte-wise. False when a source failed; the
// other sources are still listed, and callers use only the list.
bool FindDevicePorts(const std::vector<const IDeviceEnumerator*>& sources,
                     const std::vector<std::string>& patterns, std::vector<std::string>& ports);

// The same over udev and the runtime folder's virtual devices, with the id
// patterns of the device-link settings.
bool FindDevicePorts(std::vector<std::string>& ports);

} // namespace device
