// The folder that holds the program's shipped data (Language, Plugin,
// Manual): <exe>/../share/rhythmora when installed, else the source tree's
// resources folder the build was made from.
#pragma once

#include <string>

namespace platform {

std::string ShareFolder();
// The rule itself, for a given executable path and fall-back.
std::string ShareFolderFor(const std::string& exePath, const std::string& sourceResources);

} // namespace platform
