#include "tools/ToolContext.h"

#include "app/StartUp.h"
#include "platform/ProcessEnvironment.h"

#include <iostream>

namespace tool {

void LoadToolSettings(app::CECGOptions& options) {
    app::LoadSettings(options);
}

int Fail(const std::string& message) {
    std::cerr << message << '\n';
    return kExitFailed;
}

} // namespace tool
