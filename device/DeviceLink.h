// The process-wide settings of the device link, fixed once at start-up
// from the settings file and only read afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace device {

struct DeviceLinkConfig {
    // Substrings that identify the device in a device instance id.
    std::vector<std::string> idPatterns{"VID_1A3C&PID_0B71"};
    // Bounds each read call; writes use the same value unless changed.
    std::uint32_t receiveTimeoutMs = 2000;
    std::uint32_t writeTimeoutMs = 2000;
    std::uint32_t baudRate = 1500000;
    // Folder of the communication log; empty turns the log off.
    std::string logFolder;
};

// Stores the settings; the one time-out serves both directions.
void ConfigureDeviceLink(std::vector<std::string> idPatterns, std::uint32_t timeoutMs,
                         std::uint32_t baudRate, std::string logFolder);

const DeviceLinkConfig& GetDeviceLinkConfig();

} // namespace device
