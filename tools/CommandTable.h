// The commands of rhythmora-tool with their usage texts: one table that
// dispatches a command, answers `COMMAND --help` and makes the overview.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tool {

struct ToolCommand {
    const char* name;
    const char* synopsis; // the command and its options, as one usage line
    // The string id of its help: what it does in one line, a blank line,
    // then one option a line, "  --opt VALUE  what it does".
    unsigned helpText;
    int (*run)(std::span<const std::string> args);
};

std::span<const ToolCommand> ToolCommands();
// nullptr for an unknown name.
const ToolCommand* FindToolCommand(std::string_view name);

// "usage: rhythmora-tool SYNOPSIS" and the help, in the interface language.
std::string CommandUsage(const ToolCommand& command);
// Every command's synopsis and summary.
std::string OverviewUsage();

} // namespace tool
