// The start-up steps that come before any window: locale and fixed time
// zone, the program's folder, the refusal to run beside the sibling program
// or a second copy, and the settings with their data folder.
#pragma once

#include "app/ECGOptions.h"
#include "platform/NamedLock.h"

#include <memory>
#include <string>
#include <vector>

namespace app {

constexpr const char* kSiblingProgram = "Vitalnote.exe";
constexpr const char* kInstanceLockName = "__Rhythmora_Mutex__";

// Every local time of the process is UTC+9 from here on; text is UTF-8
// under the Japanese locale when the machine has it.
void FixLocaleAndTimeZone();

// The executable's folder, without a trailing separator.
std::string ExecutableFolder(const std::string& executablePath);

// Whether one of the names is exactly the sibling program's (byte-wise, so
// a name differing only in letter case does not count).
bool IsSiblingRunning(const std::vector<std::string>& processNames);
bool IsSiblingRunning();

// The single-instance lock, or nullptr when another copy holds it.
std::unique_ptr<platform::CNamedLock> AcquireSingleInstance();

// PreparePaths and Load. A missing default data folder is then created with
// its parents, so the first import has a folder to write into; a folder the
// user chose is never created (it may be an unmounted share). Temporary
// files that killed saves left in the data folder and beside the settings
// file are removed.
void LoadSettings(CECGOptions& options);
void LoadSettings(CECGOptions& options, const std::string& executablePath);

// Hands the device-link settings (id patterns, time-out, baud rate, log
// folder) to the device link, once, after the settings are loaded.
void ConfigureDeviceLink(const CECGOptions& options);

} // namespace app
