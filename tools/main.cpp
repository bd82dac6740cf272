// rhythmora-tool: the program's own operations for scripting, support and
// tests, without windows.
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
    "  settings [--json]                     the settings after start-up\n";

int Usage(const std::string& problem) {
    if (!problem.empty())
        std::cerr << "rhythmora-tool: " << problem << "\n\n";
    std::cerr << kUsage;
    return tool::kExitUsage;
}

} // namespace

int main(int argc, char* argv[]) {
    app::FixLocaleAndTimeZone();
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
        if (command == "--help" || command == "-h" || command == "help") {
            std::cout << kUsage;
            return tool::kExitOk;
        }
        return Usage("unknown command \"" + command + "\"");
    } catch (const tool::UsageError& error) {
        return Usage(error.what());
    }
}
