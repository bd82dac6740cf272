#include "tools/OutputTarget.h"

#include "platform/Files.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "tools/Arguments.h"
#include "tools/TerminalText.h"
#include "tools/ToolContext.h"
#include "tools/ToolTexts.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

namespace tool {

namespace {

constexpr unsigned kTextNotWritten = 62759; // "%s could not be written: %s"

// The errno of the first write that failed, 0 when every byte went out.
int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

} // namespace

bool IsStandardOutput(std::string_view out) {
    return out == "-";
}

void CheckOutput(std::string_view out, std::string_view formatName, bool plainText) {
    if (IsStandardOutput(out) && !plainText && ::isatty(STDOUT_FILENO))
        throw Usage(kTextNotToTerminal, {formatName});
}

int WriteOutput(const std::string& out, std::string_view bytes) {
    if (IsStandardOutput(out)) {
        std::cout.flush();
        if (const int failure = WriteAll(STDOUT_FILENO, bytes))
            return Fail(platform::FormatText(platform::LoadText(kTextStdoutFailed),
                                             {std::string_view(std::strerror(failure))}));
        return kExitOk;
    }
    int failure = 0;
    if (!platform::WriteFileAtomic(out, bytes, &failure))
        return Fail(
            platform::FormatText(platform::LoadText(kTextNotWritten),
                                 {TerminalField(out), std::string_view(std::strerror(failure))}));
    return kExitOk;
}

} // namespace tool
