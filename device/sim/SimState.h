// The simulated device's memory kept in a file between runs, so a second
// session meets the device as the first one left it. Text, one "Key=value"
// line each, recording blocks in hex:
//
//   RhythmoraSimulatorState=1
//   Position=5  Count=3  Battery=3  Filter=2  DeviceFlag=0
//   ClockSet=1  ClockOffset=-4
//   Slot3=4543470A0301...   (5676 bytes)
#pragma once

#include "device/sim/SimMemory.h"

#include <optional>
#include <string>
#include <string_view>

namespace device::sim {

std::string FormatSimState(const SimMemory& memory);
// nullopt when the text is not a complete, consistent state.
std::optional<SimMemory> ParseSimState(std::string_view text);

// Saves crash-safely: an interrupted save leaves the previous state.
bool SaveSimState(const std::string& path, const SimMemory& memory);
// nullopt when the file is missing, too large or not a state.
std::optional<SimMemory> LoadSimState(const std::string& path);

} // namespace device::sim
