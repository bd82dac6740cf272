// What the device commands of rhythmora-tool share: the device link set up
// from the loaded settings as start-up does, the choice of the one device
// port, and device errors told as a sentence.
#pragma once

#include "app/ECGOptions.h"
#include "device/DeviceInfo.h"
#include "tools/ConsoleHost.h"

#include <optional>
#include <string>
#include <string_view>

namespace tool {

// Tells device errors on stderr, or through the host of an import so that
// its result carries them: the window's text for the failure, then the code
// and what it means ("COM ERROR (RX001: the device did not answer in
// time)").
class CConsoleDeviceErrorReporter : public device::IDeviceErrorReporter {
public:
    explicit CConsoleDeviceErrorReporter(CConsoleHost* host = nullptr) : m_pHost(host) {}
    void ReportDeviceError(std::string_view code, const std::string& message) override;

private:
    CConsoleHost* m_pHost;
};

// The serial port to talk to: the given one, else the single device port
// found. nullopt with `problem` set when there is none, more than one, or
// the port is a card folder.
std::optional<std::string> ChooseSerialPort(const std::optional<std::string>& given,
                                            std::string& problem);

// Loads the settings, sets up the device link, chooses the serial port and
// reads the device's status, as a device command starts. nullopt after
// telling why on stderr.
std::optional<std::string> ReadConnectedDevice(const std::optional<std::string>& givenPort,
                                               device::DeviceState& state);

} // namespace tool
