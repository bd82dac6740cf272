// `device-write`: the device settings dialog's write: the filter setting,
// and the clock when it is unset or asked for.
#include "device/workflow/WriteWorker.h"
#include "tools/Arguments.h"
#include "tools/Commands.h"
#include "tools/ConsoleHost.h"
#include "tools/DeviceToolSetup.h"
#include "tools/TerminalText.h"
#include "tools/ToolContext.h"
#include "tools/ToolTexts.h"

#include <iostream>

namespace tool {

int RunDeviceWrite(std::span<const std::string> args) {
    const Arguments arguments(args, {"--set-clock"}, {"--port", "--filter"});
    if (!arguments.Positionals().empty())
        throw Usage(kTextNoFiles, {"device-write"});
    std::optional<int> filter;
    if (const auto text = arguments.Value("--filter"))
        filter = ParseChoice("--filter", *text, {"on", "off"}) == 0 ? 2 : 0;

    device::DeviceState state;
    const std::optional<std::string> port = ReadConnectedDevice(arguments.Value("--port"), state);
    if (!port)
        return kExitFailed;

    // The settings dialog's rules: the filter stays as read unless changed,
    // and an unset device clock is always set.
    state.m_filter = filter.value_or(state.m_filter < 0 ? 2 : state.m_filter);
    if (arguments.Has("--set-clock"))
        state.m_clockNotSet = true;

    CConsoleHost host;
    device::CWriteWorker worker(host, "%d/%d", state, *port);
    host.Run(worker);
    if (host.ShowedError())
        return kExitFailed;
    std::cout << TerminalMessage(host.FinishedMessage()) << '\n';
    return kExitOk;
}

} // namespace tool
