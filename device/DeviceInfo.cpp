#include "device/DeviceInfo.h"

#include "device/DeviceClock.h"
#include "device/DeviceError.h"
#include "device/DeviceErrorText.h"

#include <array>

namespace device {

bool ReadDeviceInfo(const std::string& portName, DeviceState& state,
                    IDeviceErrorReporter* reporter) {
    DeviceAccess access;
    return ReadDeviceInfo(access, portName, state, reporter);
}

bool ReadDeviceInfo(DeviceAccess& access, const std::string& portName, DeviceState& state,
                    IDeviceErrorReporter* reporter) {
    std::array<std::uint8_t, kControlBlockSize> status{};
    try {
        access.Open(portName);
        access.StartAccess();
        access.ReadDeviceStatus(status);
        access.EndAccess();
        access.Close();
    } catch (const DeviceError& error) {
        if (reporter != nullptr) {
            reporter->ReportDeviceError(error.Code(), DeviceErrorText(error, portName));
        }
        access.Close();
        return false;
    }
    state.m_filter = status[kStaFilter] & 0x03;
    state.m_battery = status[kStaBattery] & 0x0F;
    state.m_clockNotSet = (status[kStaBattery] & kClockNotSetBit) != 0;
    if (!state.m_clockNotSet) {
        const auto clock =
            DeviceClockToTime(std::span<const std::uint8_t, 6>(status.data() + kStaClock, 6));
        state.m_deviceClock = clock.value_or(0);
    }
    return true;
}

} // namespace device
