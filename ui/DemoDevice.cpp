#include "ui/DemoDevice.h"

#include "device/sim/SimIdentity.h"
#include "device/sim/SimServer.h"

#include <ctime>

namespace ui {

namespace {

constexpr const char* kName = "demo";
constexpr const char* kSerial = "DEMO0001";
constexpr std::uint8_t kFullBattery = 3;
constexpr std::uint32_t kSeed = 2026;
// The newest recording was taken ten minutes ago.
constexpr std::int64_t kNewestAgo = 600;

} // namespace

CDemoDevice::CDemoDevice() = default;

CDemoDevice::~CDemoDevice() {
    Unplug();
}

bool CDemoDevice::Plug() {
    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    const auto plans = device::sim::VariedRecordings(kRecordings, now - kNewestAgo, true, 1, kSeed);
    m_pServer = std::make_unique<device::sim::CSimServer>(device::sim::CSimDevice(
        device::sim::DeviceWithRecordings(plans, kFullBattery, true, true), {}));
    if (!m_pServer->Start() ||
        !m_announcement.Announce(device::VirtualDevicesFolder(), kName,
                                 device::sim::InstanceIdOf(kSerial), m_pServer->PortName())) {
        Unplug();
        return false;
    }
    return true;
}

void CDemoDevice::Unplug() {
    m_announcement.Withdraw();
    if (m_pServer)
        m_pServer->Stop();
    m_pServer.reset();
}

std::string CDemoDevice::PortName() const {
    return m_pServer ? m_pServer->PortName() : std::string();
}

} // namespace ui
