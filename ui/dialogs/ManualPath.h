// Where the documents of the Help menu lie (the Manual folder of the share
// folder, file names from the interface language) and how they are opened.
#pragma once

#include <string>

namespace ui {

// <share folder>/Manual/<LoadText(stringId)>. Empty when the text is empty
// or names a place outside the Manual folder (an absolute path or a ".."
// step): a language file decides the name, not where the program reads.
std::string BuildManualPath(unsigned stringId);
// The same rule for a given share folder.
std::string BuildManualPath(const std::string& shareFolder, unsigned stringId);

// Opens a document with the desktop's viewer; false (and nothing else) when
// the path is empty, the file does not exist or cannot be opened: callers
// show their own message.
bool OpenDocument(const std::string& path);

} // namespace ui
