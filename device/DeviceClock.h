// The device's six-byte clock (year - 2000, month, day, hour, minute,
// second) and its conversion to and from seconds since 1970, in local time.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace device {

using DeviceClockBytes = std::array<std::uint8_t, 6>;

// nullopt when a field is out of its range or the day does not exist in
// that month (the bytes come from the device).
std::optional<std::int64_t> DeviceClockToTime(std::span<const std::uint8_t, 6> bytes);
// nullopt for a time whose local year lies outside 2000 to 2255.
std::optional<DeviceClockBytes> TimeToDeviceClock(std::int64_t time);

} // namespace device
