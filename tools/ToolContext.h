// What every rhythmora-tool command starts from: the same start-up steps as
// the window program (locale, time zone, settings), and the way a failure
// is reported.
#pragma once

#include "app/ECGOptions.h"

#include <string>

namespace tool {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Loads the settings as the window program's start-up does, with the
// defaults file beside that program.
void LoadToolSettings(app::CECGOptions& options);

// Prints the message to stderr, made safe for a terminal, and gives the
// failure exit status.
int Fail(const std::string& message);

} // namespace tool
