// The demonstration device: the built-in simulator plugged in as a virtual
// device with a dozen varied recordings, so the window can be tried out
// without owning the electrocardiograph. Its memory lives only in this
// process; the recordings reach the data folder only by an import.
#pragma once

#include "device/VirtualDevices.h"

#include <memory>
#include <string>

// The simulator's headers use names Qt takes for its own keywords.
namespace device::sim {
class CSimServer;
}

namespace ui {

class CDemoDevice {
public:
    static constexpr int kRecordings = 12;

    CDemoDevice();
    ~CDemoDevice();
    CDemoDevice(const CDemoDevice&) = delete;
    CDemoDevice& operator=(const CDemoDevice&) = delete;

    // False when no pseudo-terminal is free or the runtime folder cannot
    // take the announcement.
    bool Plug();
    void Unplug();
    std::string PortName() const;

private:
    std::unique_ptr<device::sim::CSimServer> m_pServer;
    device::CVirtualDeviceFile m_announcement;
};

} // namespace ui
