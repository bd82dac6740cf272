// The names of the running processes, for the check that refuses to run
// beside the sibling program.
#pragma once

#include <string>
#include <vector>

namespace platform {

// For every process readable in /proc: its command name (comm) and the base
// name of its executable. A program run under Wine shows as "Name.exe".
std::vector<std::string> RunningProcessNames();

} // namespace platform
