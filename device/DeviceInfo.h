// What the program knows of the connected device between operations, and
// the status read that fills it when the device is plugged in.
#pragma once

#include "device/DeviceAccess.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace device {

struct DeviceState {
    // As last read or written by the computer; 0 = none yet.
    std::int64_t m_deviceClock = 0;
    // 1 = replace the battery; 2 and 3 usable levels.
    std::int32_t m_battery = 1;
    // 0 off, 2 on; -1 not read yet.
    std::int32_t m_filter = -1;
    // The device clock is not set, or the user asked to set it.
    bool m_clockNotSet = true;
};

// Tells the person at the computer that a device operation failed; the
// window program shows its "COM Error" box, the command line a sentence.
// `message` is the text for the person (DeviceErrorText).
class IDeviceErrorReporter {
public:
    virtual ~IDeviceErrorReporter() = default;
    virtual void ReportDeviceError(std::string_view code, const std::string& message) = 0;
};

// Opens the port, reads the status block within one access sequence and
// closes the port. On success fills the state and returns true; on any
// failure reports it, closes the port and returns false with the state
// unchanged. A device clock whose bytes name no valid time is recorded as
// none (0).
bool ReadDeviceInfo(const std::string& portName, DeviceState& state,
                    IDeviceErrorReporter* reporter = nullptr);
// The same on a given link, for callers that choose settings and log.
bool ReadDeviceInfo(DeviceAccess& access, const std::string& portName, DeviceState& state,
                    IDeviceErrorReporter* reporter = nullptr);

} // namespace device
