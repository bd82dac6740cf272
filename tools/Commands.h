// The subcommands of rhythmora-tool. Each takes the words after its name
// and returns the exit status; usage errors are thrown as UsageError.
#pragma once

#include <span>
#include <string>

namespace tool {

int RunInfo(std::span<const std::string> args);
int RunList(std::span<const std::string> args);
int RunMemo(std::span<const std::string> args);
int RunSettings(std::span<const std::string> args);
int RunPorts(std::span<const std::string> args);
int RunDeviceInfo(std::span<const std::string> args);
int RunSimulate(std::span<const std::string> args);
int RunImport(std::span<const std::string> args);
int RunDeviceWrite(std::span<const std::string> args);
int RunReport(std::span<const std::string> args);
int RunWave(std::span<const std::string> args);
int RunThumbnail(std::span<const std::string> args);
int RunExport(std::span<const std::string> args);

} // namespace tool
