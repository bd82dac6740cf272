// rhythmora-tool: the program's own operations for scripting, support and
// tests, without windows.
#include "app/Language.h"
#include "app/StartUp.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "tools/Arguments.h"
#include "tools/CommandTable.h"
#include "tools/TerminalText.h"
#include "tools/ToolContext.h"
#include "tools/ToolTexts.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

namespace {

// A usage error: the problem and one line that points to the help, so the
// message stays in view.
int Usage(const std::string& problem, const std::string& pointer) {
    std::cerr << "rhythmora-tool: " << tool::TerminalMessage(problem) << '\n'
              << tool::TerminalMessage(pointer) << '\n';
    return tool::kExitUsage;
}

int UsageOfTool(const std::string& problem) {
    return Usage(problem, platform::LoadText(tool::kTextTryHelp));
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
        return UsageOfTool(platform::LoadText(tool::kTextNoCommand));
    const std::string name = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (IsHelp(name) || name == "help") {
        std::cout << tool::TerminalMessage(tool::OverviewUsage());
        return tool::kExitOk;
    }
    if (name == "--version") {
        std::cout << "rhythmora-tool (Rhythmora) " << RHYTHMORA_VERSION << '\n';
        return tool::kExitOk;
    }
    const tool::ToolCommand* command = tool::FindToolCommand(name);
    if (command == nullptr)
        return UsageOfTool(
            platform::FormatText(platform::LoadText(tool::kTextUnknownCommand), {name}));
    if (AsksForHelp(args)) {
        std::cout << tool::TerminalMessage(tool::CommandUsage(*command));
        return tool::kExitOk;
    }
    try {
        return command->run(args);
    } catch (const tool::UsageError& error) {
        return Usage(error.what(),
                     platform::FormatText(platform::LoadText(tool::kTextTryCommandHelp), {name}));
    }
}
