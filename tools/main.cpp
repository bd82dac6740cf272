// rhythmora-tool: the program's own operations for scripting, support and
// tests, without windows.
#include "app/Language.h"
#include "app/StartUp.h"
#include "tools/Arguments.h"
#include "tools/CommandTable.h"
#include "tools/ToolContext.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

namespace {

int Usage(const std::string& problem, const std::string& usage) {
    std::cerr << "rhythmora-tool: " << problem << "\n\n" << usage;
    return tool::kExitUsage;
}

bool IsHelp(const std::string& word) {
    return word == "--help" || word == "-h";
}

// A help option anywhere before a "--" asks for the command's usage.
bool AsksForHelp(const std::vector<std::string>& args) {
    const auto end = std::find(args.begin(), args.end(), "--");
    return std::any_of(args.begin(), end, IsHelp);
}

} // namespace

int main(int argc, char* argv[]) {
    app::FixLocaleAndTimeZone();
    // Messages come in the language the window program would show.
    const app::CLanguageSession languages;
    if (argc < 2)
        return Usage("no command given", tool::OverviewUsage());
    const std::string name = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (IsHelp(name) || name == "help") {
        std::cout << tool::OverviewUsage();
        return tool::kExitOk;
    }
    if (name == "--version") {
        std::cout << "rhythmora-tool (Rhythmora) " << RHYTHMORA_VERSION << '\n';
        return tool::kExitOk;
    }
    const tool::ToolCommand* command = tool::FindToolCommand(name);
    if (command == nullptr)
        return Usage("unknown command \"" + name + "\"", tool::OverviewUsage());
    if (AsksForHelp(args)) {
        std::cout << tool::CommandUsage(*command);
        return tool::kExitOk;
    }
    try {
        return command->run(args);
    } catch (const tool::UsageError& error) {
        return Usage(error.what(), tool::CommandUsage(*command));
    }
}
