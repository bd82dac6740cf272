#include "tools/ToolContext.h"

#include "app/StartUp.h"
#include "platform/Files.h"
#include "platform/ProcessEnvironment.h"
#include "tools/TerminalText.h"

#include <iostream>

namespace tool {

void LoadToolSettings(app::CECGOptions& options) {
    // The window program lies beside this one; its defaults file seeds a
    // new settings file, so both programs start alike.
    const std::string folder = platform::ParentFolder(platform::ExecutablePath());
    app::LoadSettings(options, platform::JoinPath(folder, "rhythmora"));
}

int Fail(const std::string& message) {
    std::cerr << TerminalMessage(message) << '\n';
    return kExitFailed;
}

} // namespace tool
