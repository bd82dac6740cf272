// How the simulated device presents itself on the bus, and a device as it
// comes to the computer: its battery, filter, clock and the recordings it
// holds.
#pragma once

#include "device/sim/SimMemory.h"
#include "device/sim/SimRecording.h"

#include <cstdint>
#include <span>
#include <string>

namespace device::sim {

inline constexpr std::uint16_t kVendorId = 0x1A3C;
inline constexpr std::uint16_t kProductId = 0x0B71;

// USB\VID_1A3C&PID_0B71\<serial>, as the device list writes it.
std::string InstanceIdOf(const std::string& serial);

// The plans stored oldest first.
SimMemory DeviceWithRecordings(std::span<const SimRecordingPlan> plans, std::uint8_t battery,
                               bool filterOn, bool clockSet);

} // namespace device::sim
