#include "ui/dialogs/ManualPath.h"

#include "platform/ResourceText.h"
#include "platform/ShareFolder.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include <filesystem>

namespace ui {

namespace {

bool StaysInsideFolder(const std::filesystem::path& name) {
    if (name.empty() || name.is_absolute() || name.has_root_name()) {
        return false;
    }
    for (const std::filesystem::path& step : name) {
        if (step == "..") {
            return false;
        }
    }
    return true;
}

} // namespace

std::string BuildManualPath(unsigned stringId) {
    return BuildManualPath(platform::ShareFolder(), stringId);
}

std::string BuildManualPath(const std::string& shareFolder, unsigned stringId) {
    const std::filesystem::path name(platform::LoadText(stringId));
    if (shareFolder.empty() || !StaysInsideFolder(name)) {
        return {};
    }
    return (std::filesystem::path(shareFolder) / "Manual" / name).string();
}

bool OpenDocument(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    const QFileInfo file(QString::fromStdString(path));
    // The desktop's opener reports a missing file only in its own window,
    // if at all; the caller's message is clearer.
    if (!file.isFile()) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}

} // namespace ui
