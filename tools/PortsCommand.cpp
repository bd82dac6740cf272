// `ports`: the device ports discovery finds, as the connection watcher sees them.
#include "app/StartUp.h"
#include "device/DevicePorts.h"
#include "tools/Arguments.h"
#include "tools/Commands.h"
#include "tools/DeviceToolSetup.h"
#include "tools/Json.h"
#include "tools/TerminalText.h"
#include "tools/ToolContext.h"
#include "tools/ToolTexts.h"

#include <iostream>
#include <vector>

namespace tool {

int RunPorts(std::span<const std::string> args) {
    const Arguments arguments(args, {"--json"}, {});
    if (!arguments.Positionals().empty())
        throw Usage(kTextNoFiles, {"ports"});
    app::CECGOptions options;
    LoadToolSettings(options);
    app::ConfigureDeviceLink(options);

    std::vector<std::string> ports;
    const bool complete = device::FindDevicePorts(ports);
    if (!complete)
        std::cerr << "The device list may be incomplete: the system's device list could not be "
                     "read.\n";
    if (arguments.Has("--json")) {
        JsonWriter json(std::cout);
        json.BeginObject();
        json.Field("complete", complete);
        json.PathArrayField("ports", ports);
        json.EndObject();
    } else {
        for (const std::string& port : ports)
            std::cout << TerminalField(port) << '\n';
    }
    return kExitOk;
}

} // namespace tool
