// `device-info`: the status read done when the device is plugged in, in
// plain words (the JSON form keeps the status members as they are).
#include "device/DeviceInfo.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "tools/Arguments.h"
#include "tools/Commands.h"
#include "tools/DeviceToolSetup.h"
#include "tools/Json.h"
#include "tools/TerminalText.h"
#include "tools/ToolContext.h"
#include "tools/ToolTexts.h"

#include <ctime>
#include <iostream>

namespace tool {

namespace {

// As the device settings dialog reads the level: any other value is shown
// as the empty battery.
unsigned BatteryText(int level) {
    return level == 3 ? kTextBatteryFull : level == 2 ? kTextBatteryHalf : kTextBatteryLow;
}

std::string ClockText(const device::DeviceState& state) {
    if (state.m_clockNotSet)
        return platform::LoadText(kTextClockNotSet);
    const std::time_t clock = static_cast<std::time_t>(state.m_deviceClock);
    std::tm local{};
    if (state.m_deviceClock == 0 || !localtime_r(&clock, &local))
        return platform::LoadText(kTextClockUnknown);
    // The program's time zone is always UTC+9.
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC+9", &local);
    return platform::FormatText(platform::LoadText(kTextDeviceClock), {std::string_view(text)});
}

} // namespace

int RunDeviceInfo(std::span<const std::string> args) {
    const Arguments arguments(args, {"--json"}, {"--port"});
    if (!arguments.Positionals().empty())
        throw Usage(kTextNoFiles, {"device-info"});
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
        const std::string lines[] = {
            platform::FormatText(platform::LoadText(kTextDevicePort), {TerminalField(*port)}),
            platform::LoadText(BatteryText(state.m_battery)),
            platform::LoadText(state.m_filter != 0 ? kTextFilterOn : kTextFilterOff),
            ClockText(state)};
        for (const std::string& line : lines)
            std::cout << TerminalMessage(line) << '\n';
    }
    return kExitOk;
}

} // namespace tool
