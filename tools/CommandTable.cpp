#include "tools/CommandTable.h"

#include "platform/ResourceText.h"
#include "tools/Commands.h"
#include "tools/ToolTexts.h"

#include <array>

namespace tool {

namespace {

const std::array kCommands{
    ToolCommand{"info", "info [--json] [--samples] FILE...", kHelpInfo, RunInfo},
    ToolCommand{"list", "list [--json] [--folder DIR] [--filter BITS]", kHelpList, RunList},
    ToolCommand{"memo",
                "memo FILE [--situation ITEM] [--symptom ITEM]... [--symptoms N]\n"
                "            [--position ITEM] [--posture ITEM] [--situation-text T]\n"
                "            [--symptom-text T]",
                kHelpMemo, RunMemo},
    ToolCommand{"settings", "settings [--json]", kHelpSettings, RunSettings},
    ToolCommand{"ports", "ports [--json]", kHelpPorts, RunPorts},
    ToolCommand{"device-info", "device-info [--port P] [--json]", kHelpDeviceInfo, RunDeviceInfo},
    ToolCommand{"import", "import [--port P] [--folder DIR] [--set-clock yes|no] [--json]",
                kHelpImport, RunImport},
    ToolCommand{"device-write", "device-write [--port P] [--filter on|off] [--set-clock]",
                kHelpDeviceWrite, RunDeviceWrite},
    ToolCommand{"report",
                "report FILE... -o OUT|- [--format pdf|svg|png] [--sensitivity 0|1|2]\n"
                "            [--paper a4|letter]",
                kHelpReport, RunReport},
    ToolCommand{"wave",
                "wave FILE -o OUT|- [--format png|svg] [--zoom 100|150|200]\n"
                "            [--sensitivity 0|1|2]",
                kHelpWave, RunWave},
    ToolCommand{"thumbnail", "thumbnail FILE -o OUT|- [--format png|svg]", kHelpThumbnail,
                RunThumbnail},
    ToolCommand{"export", "export FILE... -o OUT|- [--format edf|csv] [--force] [--json]",
                kHelpExport, RunExport},
    ToolCommand{"simulate",
                "simulate [--recordings N] [--battery 1-3] [--filter on|off] [--clock "
                "set|unset]\n"
                "            [--faults LIST] [--state FILE | --card FOLDER] [--name NAME]\n"
                "            [--serial S] [--seed N]",
                kHelpSimulate, RunSimulate},
};

// The first line of the help.
std::string CommandSummary(const ToolCommand& command) {
    const std::string help = platform::LoadText(command.helpText);
    return help.substr(0, help.find('\n'));
}

} // namespace

std::span<const ToolCommand> ToolCommands() {
    return kCommands;
}

const ToolCommand* FindToolCommand(std::string_view name) {
    for (const ToolCommand& command : kCommands)
        if (name == command.name)
            return &command;
    return nullptr;
}

std::string CommandUsage(const ToolCommand& command) {
    return std::string("usage: rhythmora-tool ") + command.synopsis + "\n\n" +
           platform::LoadText(command.helpText) + "\n";
}

std::string OverviewUsage() {
    std::string text = "usage: rhythmora-tool COMMAND [options]\n"
                       "       rhythmora-tool COMMAND --help\n"
                       "       rhythmora-tool --version\n\n";
    for (const ToolCommand& command : kCommands)
        text += std::string("  ") + command.synopsis + "\n      " + CommandSummary(command) + "\n";
    return text;
}

} // namespace tool
