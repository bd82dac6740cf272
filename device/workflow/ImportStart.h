// The checks before an import dialog opens: which device port to use, that
// the data folder can take the files, and for a card which files to copy.
// Each refusal is told to the person; the caller then opens the dialog with
// what these give.
#pragma once

#include "device/workflow/SdCopy.h"
#include "platform/UserPrompts.h"

#include <optional>
#include <string>
#include <vector>

namespace device {

// A port name of a serial line (the device itself); any other port name is
// the mount point of its card.
bool IsSerialPortName(const std::string& port);

// The single device port, or nullopt after "No COM" / "Multi COM".
std::optional<std::string> ChooseDevicePort(const std::vector<std::string>& ports,
                                            platform::IUserPrompts& prompts);

// Whether the data folder can take the import; "HDD Error" otherwise.
bool CheckImportFolder(const std::string& folder, platform::IUserPrompts& prompts);

struct ImportPlan {
    std::string port;               // set for an import from the device
    std::string folder;             // the data folder
    std::optional<SdCopyPlan> card; // set for a copy from the card
};

// The import command: the device import for a serial port, the card copy
// for a card; nullopt after a message.
std::optional<ImportPlan> PrepareImport(const std::vector<std::string>& ports,
                                        const std::string& dirSd, const std::string& dirHdd,
                                        platform::IUserPrompts& prompts);

} // namespace device
