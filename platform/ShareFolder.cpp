#include "platform/ShareFolder.h"

#include "platform/Files.h"
#include "platform/ProcessEnvironment.h"

namespace platform {

std::string ShareFolderFor(const std::string& exePath, const std::string& sourceResources) {
    // Only an absolute path says where the program lies; anything else
    // would make the share folder relative to the working folder.
    if (exePath.empty() || exePath.front() != '/') {
        return sourceResources;
    }
    // <exe folder>/../share/rhythmora, with the ".." resolved by dropping
    // the exe folder's last component.
    const std::string prefix = ParentFolder(ParentFolder(exePath));
    const std::string installed = JoinPath(prefix, "share/rhythmora");
    return IsDirectory(installed) ? installed : sourceResources;
}

std::string ShareFolder() {
    return ShareFolderFor(ExecutablePath(), RHYTHMORA_SOURCE_RESOURCES);
}

} // namespace platform
