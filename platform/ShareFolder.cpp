#include "platform/ShareFolder.h"

#include "platform/Files.h"
#include "platform/ProcessEnvironment.h"

#include <optional>

namespace platform {

namespace {

// A path longer than this is not one the build wrote.
constexpr std::size_t kMarkerMaxBytes = 4096;

// The resources folder a build-tree marker names, when it names one.
std::optional<std::string> MarkedResources(const std::string& exeFolder) {
    const std::string marker = JoinPath(exeFolder, kBuildTreeMarker);
    if (!IsRegularFile(marker))
        return std::nullopt;
    const std::optional<std::string> text = ReadWholeFile(marker, kMarkerMaxBytes);
    if (!text)
        return std::nullopt;
    const std::string folder = text->substr(0, text->find_first_of("\r\n"));
    if (folder.empty() || folder.front() != '/' || !IsDirectory(folder))
        return std::nullopt;
    return folder;
}

} // namespace

std::string ShareFolderFor(const std::string& exePath) {
    // Only an absolute path says where the program lies; anything else
    // would make the share folder relative to the working folder.
    if (exePath.empty() || exePath.front() != '/')
        return {};
    const std::string exeFolder = ParentFolder(exePath);
    // <exe folder>/../share/rhythmora, with the ".." resolved by dropping
    // the exe folder's last component.
    const std::string installed = JoinPath(ParentFolder(exeFolder), "share/rhythmora");
    if (IsDirectory(installed))
        return installed;
    return MarkedResources(exeFolder).value_or(installed);
}

std::string ShareFolder() {
    return ShareFolderFor(ExecutablePath());
}

} // namespace platform
