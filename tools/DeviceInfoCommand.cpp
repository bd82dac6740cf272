// `device-info`: the status read done when the device is plugged in.
#include "device/DeviceInfo.h"
#include "tools/Arguments.h"
#include "tools/Commands.h"
#include "tools/DeviceToolSetup.h"
#include "tools/Json.h"
#include "tools/ToolContext.h"

#include <iostream>

namespace tool {

int RunDeviceInfo(std::span<const std::string> args) {
    const Arguments arguments(args, {"--json"}, {"--port"});
    if (!arguments.Positionals().empty())
        throw UsageError("device-info takes no file names");
    device::DeviceState state;
    const std::optional<std::string> port = ReadConnectedDevice(arguments.Value("--port"), state);
    if (!port)
        return kExitFailed;

    if (arguments.Has("--json")) {
        JsonWriter json(std::cout);
        json.BeginObject();
        json.Field("deviceClock", static_cast<long long>(state.m_deviceClock));
        json.Field("battery", static_cast<int>(state.m_battery));
        json.Field("filter", static_cast<int>(state.m_filter));
        json.Field("clockNotSet", state.m_clockNotSet);
        json.EndObject();
    } else {
        std::cout << "port = " << *port << '\n'
                  << "deviceClock = " << state.m_deviceClock << '\n'
                  << "battery = " << state.m_battery << '\n'
                  << "filter = " << state.m_filter << '\n'
                  << "clockNotSet = " << (state.m_clockNotSet ? 1 : 0) << '\n';
    }
    return kExitOk;
}

} // namespace tool
