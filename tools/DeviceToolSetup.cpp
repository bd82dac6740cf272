#include "tools/DeviceToolSetup.h"

#include "app/StartUp.h"
#include "device/DeviceError.h"
#include "device/DeviceLink.h"
#include "device/DevicePorts.h"
#include "tools/ToolContext.h"

#include <iostream>
#include <vector>

namespace tool {

namespace {

std::string_view SentenceOf(std::string_view code) {
    if (code == device::kErrOpen)
        return "the device port could not be opened";
    if (code == device::kErrTransmit)
        return "the request could not be sent to the device";
    if (code == device::kErrReceive)
        return "the device did not answer in time";
    if (code == device::kErrResponse)
        return "the device answered with an error";
    if (code == device::kErrPayloadStd || code == device::kErrPayloadExt)
        return "the device sent an answer of the wrong size";
    return "the communication with the device failed";
}

std::string DeviceErrorMessage(std::string_view code, const std::string& message) {
    return message + " (" + std::string(code) + ": " + std::string(SentenceOf(code)) + ")";
}

} // namespace

void CConsoleDeviceErrorReporter::ReportDeviceError(std::string_view code,
                                                    const std::string& message) {
    const std::string text = DeviceErrorMessage(code, message);
    if (m_pHost != nullptr)
        m_pHost->ReportFailure(text);
    else
        std::cerr << text << '\n';
}

std::optional<std::string> ChooseSerialPort(const std::optional<std::string>& given,
                                            std::string& problem) {
    std::string port;
    if (given) {
        port = *given;
    } else {
        std::vector<std::string> ports;
        device::FindDevicePorts(ports);
        if (ports.empty()) {
            problem = "No device is connected.";
            return std::nullopt;
        }
        if (ports.size() > 1) {
            problem = "More than one device is connected; choose one with --port.";
            return std::nullopt;
        }
        port = ports.front();
    }
    if (!port.starts_with("/dev/")) {
        problem = "\"" + port + "\" is a card folder, not a serial port.";
        return std::nullopt;
    }
    return port;
}

std::optional<std::string> ReadConnectedDevice(const std::optional<std::string>& givenPort,
                                               device::DeviceState& state) {
    app::CECGOptions options;
    LoadToolSettings(options);
    app::ConfigureDeviceLink(options);
    std::string problem;
    const std::optional<std::string> port = ChooseSerialPort(givenPort, problem);
    if (!port) {
        Fail(problem);
        return std::nullopt;
    }
    CConsoleDeviceErrorReporter reporter;
    if (!device::ReadDeviceInfo(*port, state, &reporter))
        return std::nullopt;
    return port;
}

} // namespace tool
