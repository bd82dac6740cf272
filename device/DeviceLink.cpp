#include "device/DeviceLink.h"

#include <utility>

namespace device {
namespace {

DeviceLinkConfig& Config() {
    static DeviceLinkConfig config;
    return config;
}

} // namespace

void ConfigureDeviceLink(std::vector<std::string> idPatterns, std::uint32_t timeoutMs,
                         std::uint32_t baudRate, std::string logFolder) {
    DeviceLinkConfig& config = Config();
    config.idPatterns = std::move(idPatterns);
    config.receiveTimeoutMs = timeoutMs;
    config.writeTimeoutMs = timeoutMs;
    config.baudRate = baudRate;
    config.logFolder = std::move(logFolder);
}

const DeviceLinkConfig& GetDeviceLinkConfig() {
    return Config();
}

} // namespace device
