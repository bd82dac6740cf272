// Runs rhythmora-tool as a child process with a chosen environment and
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

// env entries "NAME=value" replace or add to the test's environment.
ToolRun RunTool(const std::vector<std::string>& args, const std::vector<std::string>& env);

} // namespace testsupport
