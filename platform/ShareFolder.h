// The folder that holds the program's shipped data (Language, Artwork,
// Manual): <exe>/../share/rhythmora for an installed program; for a program
// run from its build folder, the source tree's resources folder named by the
// marker file the build writes beside its executables. An installed program
// has no marker, so it never reads a source tree.
#pragma once

#include <string>

namespace platform {

// The marker's file name; it holds the absolute path of the source tree's
// resources folder on its first line.
inline constexpr const char* kBuildTreeMarker = "rhythmora-build-tree";

std::string ShareFolder();
// The rule itself, for a given executable path. Without an installed share
// folder or a usable marker the installed place is returned all the same,
// so a missing file is reported where it belongs.
std::string ShareFolderFor(const std::string& exePath);

} // namespace platform
