// rhythmora-tool: the program's own operations for scripting, support and
// tests, without windows.
#include "app/Language.h"
#include "app/StartUp.h"
#include "tools/Arguments.h"
#include "tools/Commands.h"
#include "tools/ToolContext.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "usage: rhythmora-tool COMMAND [options]\n"
    "\n"
    "  info [--json] [--samples] FILE...     show what each record file holds\n"
    "  list [--json] [--folder DIR] [--filter BITS]\n"
    "                                        the record list as the main window fills it\n"
    "  memo FILE [--situation N] [--symptoms N] [--position N] [--posture N]\n"
    "            [--situation-text T] [--symptom-text T]\n"
    "                                        change a record's memo and save it\n"
    "  settings [--json]                     the settings after start-up\n"
    "  ports [--json]                        the device ports found\n"
    "  device-info [--port P] [--json]       read the device's status\n"
    "  import [--port P] [--folder DIR] [--set-clock yes|no] [--json]\n"
    "                                        import the recordings of the device or its card\n"
    "  device-write [--port P] [--filter on|off] [--set-clock]\n"
    "                                        write the filter setting (and the clock) to the "
    "device\n"
    "  report FILE... -o OUT [--sensitivity 0|1|2] [--paper a4|letter]\n"
    "                                        the report: .pdf one page per record, .svg/.png the "
    "first;\n"
    "                                        the paper of the settings unless --paper says\n"
    "  wave FILE -o OUT [--zoom 100|150|200] [--sensitivity 0|1|2]\n"
    "                                        the wave paper as .png or .svg\n"
    "  thumbnail FILE -o OUT                 the record list's thumbnail as .png or .svg\n"
    "  export FILE... -o OUT [--format edf|csv] [--force] [--json]\n"
    "                                        the recordings as EDF+ or CSV files: OUT a file\n"
    "                                        for one record, an existing folder for several;\n"
    "                                        an existing file is replaced only with --force\n"
    "  simulate [--recordings N] [--battery 1-3] [--filter on|off] [--clock set|unset]\n"
    "           [--faults LIST] [--state FILE | --card FOLDER] [--name NAME] [--serial S]\n"
    "           [--seed N]                   run the device simulator on a pseudo-terminal,\n"
    "                                        or as a card in FOLDER;\n"
    "                                        LIST: bcc|silence|refuse|short[@EXCHANGE],\n"
    "                                        unplug@EXCHANGES, damaged@RECORDING; an existing\n"
    "                                        state FILE replaces the memory options\n";

int Usage(const std::string& problem) {
    if (!problem.empty())
        std::cerr << "rhythmora-tool: " << problem << "\n\n";
    std::cerr << kUsage;
    return tool::kExitUsage;
}

} // namespace

int main(int argc, char* argv[]) {
    app::FixLocaleAndTimeZone();
    // Messages come in the language the window program would show.
    const app::CLanguageSession languages;
    if (argc < 2)
        return Usage("no command given");
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    try {
        if (command == "info")
            return tool::RunInfo(args);
        if (command == "list")
            return tool::RunList(args);
        if (command == "memo")
            return tool::RunMemo(args);
        if (command == "settings")
            return tool::RunSettings(args);
        if (command == "ports")
            return tool::RunPorts(args);
        if (command == "device-info")
            return tool::RunDeviceInfo(args);
        if (command == "simulate")
            return tool::RunSimulate(args);
        if (command == "import")
            return tool::RunImport(args);
        if (command == "device-write")
            return tool::RunDeviceWrite(args);
        if (command == "report")
            return tool::RunReport(args);
        if (command == "wave")
            return tool::RunWave(args);
        if (command == "thumbnail")
            return tool::RunThumbnail(args);
        if (command == "export")
            return tool::RunExport(args);
        if (command == "--help" || command == "-h" || command == "help") {
            std::cout << kUsage;
            return tool::kExitOk;
        }
        return Usage("unknown command \"" + command + "\"");
    } catch (const tool::UsageError& error) {
        return Usage(error.what());
    }
}
