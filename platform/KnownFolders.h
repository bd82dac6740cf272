// The folders the program keeps its files in, found the way a Linux
// desktop user expects (XDG base and user directories).
#pragma once

#include <string>

namespace platform {

// $XDG_DOCUMENTS_DIR, else XDG_DOCUMENTS_DIR of user-dirs.dirs, else
// $HOME/Documents. No trailing '/'.
std::string DocumentsFolder();
// Shared documents: on Linux the same as DocumentsFolder().
std::string CommonDocumentsFolder();
// $XDG_CONFIG_HOME, else $HOME/.config.
std::string ConfigFolder();
// $XDG_RUNTIME_DIR/rhythmora, else (unset or unusable) /tmp/rhythmora-<uid>;
// created with mode 0700 when missing. "" when neither is the user's own.
std::string RuntimeFolder();
// The user's home folder ($HOME, else the password database, else "/").
std::string HomeFolder();

} // namespace platform
