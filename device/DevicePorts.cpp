#include "device/DevicePorts.h"

#include "device/DeviceLink.h"
#include "device/VirtualDevices.h"
#include "platform/UdevDevices.h"

#include <algorithm>

namespace device {

namespace {

bool MatchesAnyPattern(const std::string& instanceId, const std::vector<std::string>& patterns) {
    return std::any_of(patterns.begin(), patterns.end(), [&](const std::string& pattern) {
        return !pattern.empty() && instanceId.find(pattern) != std::string::npos;
    });
}

} // namespace

bool CUdevEnumerator::Enumerate(std::vector<DeviceEntry>& devices) const {
    const auto ports = platform::ListUsbPorts();
    if (!ports)
        return false;
    for (const platform::UsbPortEntry& port : *ports)
        devices.push_back({port.instanceId, port.portName});
    return true;
}

bool CVirtualDeviceEnumerator::Enumerate(std::vector<DeviceEntry>& devices) const {
    for (VirtualDevice& device : ReadLiveVirtualDevices(m_strFolder))
        devices.push_back({std::move(device.instanceId), std::move(device.portName)});
    return true;
}

bool FindDevicePorts(const std::vector<const IDeviceEnumerator*>& sources,
                     const std::vector<std::string>& patterns, std::vector<std::string>& ports) {
    ports.clear();
    bool complete = true;
    std::vector<DeviceEntry> devices;
    for (const IDeviceEnumerator* source : sources)
        complete = source->Enumerate(devices) && complete;
    for (DeviceEntry& device : devices)
        if (MatchesAnyPattern(device.instanceId, patterns))
            ports.push_back(std::move(device.portName));
    // std::string compares as unsigned bytes, so "COM10" < "COM9".
    std::sort(ports.begin(), ports.end());
    return complete;
}

bool FindDevicePorts(std::vector<std::string>& ports) {
    const CUdevEnumerator usb;
    const CVirtualDeviceEnumerator simulators(VirtualDevicesFolder());
    return FindDevicePorts({&usb, &simulators}, GetDeviceLinkConfig().idPatterns, ports);
}

} // namespace device
