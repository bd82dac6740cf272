#include "device/workflow/ConnectionWatcher.h"

#include "device/workflow/ImportStart.h"

namespace device {

std::optional<std::string> CConnectionWatcher::OnDeviceTimer(const std::vector<std::string>& ports,
                                                             bool busy) {
    if (ports.size() != 1) {
        m_bLatch = false;
        return std::nullopt;
    }
    const std::string& port = ports.front();
    if (m_bLatch || !IsSerialPortName(port))
        return std::nullopt;
    // Set before the status read: a device that does not answer is not asked
    // again until it is plugged in anew.
    m_bLatch = true;
    if (!m_readStatus(port) || busy)
        return std::nullopt;
    return port;
}

} // namespace device
