// Runs rhythmora-tool (or another program) as a child process with a chosen environment and
// collects its exit status and output.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// env entries "NAME=value" replace or add to the test's environment; an
// entry "NAME" alone removes that variable.
ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& env);
// RunProgram for rhythmora-tool.
ToolRun RunTool(const std::vector<std::string>& args, const std::vector<std::string>& env);
// RunTool with the standard output on a terminal (a pseudo-terminal);
// `out` is what the terminal received.
ToolRun RunToolOnTerminal(const std::vector<std::string>& args,
                          const std::vector<std::string>& env);

} // namespace testsupport
