// The USB devices present on this machine that the device link can use:
// serial tty nodes, and block devices mounted somewhere, each with the
// instance id a stored id pattern is matched against.
#pragma once

#include "platform/MountPoints.h"

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct UsbPortEntry {
    std::string instanceId; // USB\VID_1A3C&PID_0B71\<serial>
    std::string portName;   // the tty node, or the mount point of a storage device
};

// Written the way the stored id patterns expect it: upper-case hex for
// vendor and product, the serial number as the device reports it.
std::string FormatUsbInstanceId(std::uint16_t vendorId, std::uint16_t productId,
                                std::string_view serial);

// A device node that sits on a USB device.
struct UsbNode {
    std::string instanceId;
    std::string devNode; // "/dev/ttyACM0", "/dev/sdb1"
    dev_t devNum = 0;
    bool isBlock = false;
};

// What discovery lists for the nodes: a tty node as itself, a block device
// as the folder it is mounted on; a block device that is not mounted is
// left out, and one mounted twice is listed twice.
std::vector<UsbPortEntry> UsbPortsOf(const std::vector<UsbNode>& nodes,
                                     const std::vector<MountEntry>& mounts);

// The tty and block nodes on USB devices; nullopt when udev cannot be asked.
std::optional<std::vector<UsbNode>> ListUsbNodes();
// UsbPortsOf the present nodes and this process's mounts.
std::optional<std::vector<UsbPortEntry>> ListUsbPorts();

} // namespace platform
