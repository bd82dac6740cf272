#include "app/StartUp.h"

#include "device/DeviceLink.h"
#include "platform/Files.h"
#include "platform/ProcessEnvironment.h"
#include "platform/Processes.h"

#include <algorithm>

namespace app {

namespace {

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

void FixLocaleAndTimeZone() {
    platform::SetJapaneseLocale();
    platform::FixTimeZoneJst();
}

std::string ExecutableFolder(const std::string& executablePath) {
    const std::size_t slash = executablePath.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return executablePath.substr(0, slash);
}

bool IsSiblingRunning(const std::vector<std::string>& processNames) {
    return std::find(processNames.begin(), processNames.end(), kSiblingProgram) !=
           processNames.end();
}

bool IsSiblingRunning() {
    return IsSiblingRunning(platform::RunningProcessNames());
}

std::unique_ptr<platform::CNamedLock> AcquireSingleInstance() {
    auto lock = std::make_unique<platform::CNamedLock>(kInstanceLockName);
    if (!lock->TryAcquire())
        return nullptr;
    return lock;
}

void LoadSettings(CECGOptions& options) {
    LoadSettings(options, platform::ExecutablePath());
}

void LoadSettings(CECGOptions& options, const std::string& executablePath) {
    options.PreparePaths(executablePath);
    options.Load();
    const std::string folder = WithoutTrailingSlash(options.dirHdd);
    if (folder == WithoutTrailingSlash(CECGOptions::DefaultDataFolder()) &&
        !platform::IsDirectory(folder))
        platform::CreateFolderTree(folder);
    // What saves killed half-way left behind; a save still running in
    // another process keeps its temporary file.
    platform::RemoveStaleTemporaryFiles(folder, ".ecg");
    platform::RemoveStaleTemporaryFiles(platform::ParentFolder(options.iniPath),
                                        platform::BaseName(options.iniPath));
}

void ConfigureDeviceLink(const CECGOptions& options) {
    device::ConfigureDeviceLink(options.devIdList,
                                static_cast<std::uint32_t>(options.recvTimeOutMs),
                                static_cast<std::uint32_t>(options.baudRate), options.logDir);
}

} // namespace app
