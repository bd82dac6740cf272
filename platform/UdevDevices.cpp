#include "platform/UdevDevices.h"

#include <libudev.h>

#include <charconv>
#include <cstdio>
#include <memory>

namespace platform {

namespace {

struct UdevUnref {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
};
using UdevPtr = std::unique_ptr<udev, UdevUnref>;
using EnumeratePtr = std::unique_ptr<udev_enumerate, UdevUnref>;
using DevicePtr = std::unique_ptr<udev_device, UdevUnref>;

std::optional<std::uint16_t> HexAttribute(udev_device* device, const char* name) {
    const char* text = udev_device_get_sysattr_value(device, name);
    if (text == nullptr)
        return std::nullopt;
    const std::string_view value(text);
    std::uint16_t number = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number, 16);
    if (ec != std::errc() || end != value.data() + value.size())
        return std::nullopt;
    return number;
}

// The instance id of the USB device a node belongs to; nullopt for a node
// that does not sit on USB.
std::optional<std::string> UsbInstanceId(udev_device* node) {
    // The parent is owned by the child; it must not be unreferenced.
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(node, "usb", "usb_device");
    if (usb == nullptr)
        return std::nullopt;
    const std::optional<std::uint16_t> vendor = HexAttribute(usb, "idVendor");
    const std::optional<std::uint16_t> product = HexAttribute(usb, "idProduct");
    if (!vendor || !product)
        return std::nullopt;
    const char* serial = udev_device_get_sysattr_value(usb, "serial");
    return FormatUsbInstanceId(*vendor, *product, serial != nullptr ? serial : "");
}

// Calls visit for every device of the subsystem; false when udev fails.
template <typename Visit> bool ForEachDevice(udev* context, const char* subsystem, Visit visit) {
    EnumeratePtr enumerate(udev_enumerate_new(context));
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), subsystem) < 0 ||
        udev_enumerate_scan_devices(enumerate.get()) < 0)
        return false;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
        DevicePtr device(udev_device_new_from_syspath(context, udev_list_entry_get_name(entry)));
        if (device)
            visit(device.get());
    }
    return true;
}

} // namespace

std::string FormatUsbInstanceId(std::uint16_t vendorId, std::uint16_t productId,
                                std::string_view serial) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "USB\\VID_%04X&PID_%04X\\", vendorId, productId);
    return std::string(prefix) + std::string(serial);
}

std::vector<UsbPortEntry> UsbPortsOf(const std::vector<UsbNode>& nodes,
                                     const std::vector<MountEntry>& mounts) {
    std::vector<UsbPortEntry> ports;
    for (const UsbNode& node : nodes) {
        if (!node.isBlock) {
            ports.push_back({node.instanceId, node.devNode});
            continue;
        }
        for (const MountEntry& mount : mounts)
            if (mount.device == node.devNum)
                ports.push_back({node.instanceId, mount.mountPoint});
    }
    return ports;
}

std::optional<std::vector<UsbNode>> ListUsbNodes() {
    UdevPtr context(udev_new());
    if (!context)
        return std::nullopt;
    std::vector<UsbNode> nodes;
    const auto collect = [&](bool isBlock) {
        return [&nodes, isBlock](udev_device* device) {
            const char* node = udev_device_get_devnode(device);
            if (node == nullptr)
                return;
            if (std::optional<std::string> id = UsbInstanceId(device))
                nodes.push_back({std::move(*id), node, udev_device_get_devnum(device), isBlock});
        };
    };
    if (!ForEachDevice(context.get(), "tty", collect(false)) ||
        !ForEachDevice(context.get(), "block", collect(true)))
        return std::nullopt;
    return nodes;
}

std::optional<std::vector<UsbPortEntry>> ListUsbPorts() {
    const std::optional<std::vector<UsbNode>> nodes = ListUsbNodes();
    if (!nodes)
        return std::nullopt;
    return UsbPortsOf(*nodes, ReadMountPoints());
}

} // namespace platform
