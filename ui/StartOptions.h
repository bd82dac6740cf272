// The window program's command line. Help and version are answered before
// the window system starts, so they work without a display; the rest is
// read once the application object has taken Qt's own options away.
#pragma once

#include <QStringList>

#include <optional>

namespace ui {

struct StartOptions {
    bool demo = false; // plug in the built-in simulated device
};

// The exit status when the arguments ask for help or the version (then
// printed), else nullopt.
std::optional<int> AnswerInformationOptions(int argc, char* argv[]);

// The options to start with, or nullopt after a usage error (printed;
// exit status 2).
std::optional<StartOptions> ParseStartOptions(const QStringList& arguments);

} // namespace ui
