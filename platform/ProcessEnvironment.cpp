#include "platform/ProcessEnvironment.h"

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace platform {

void FixTimeZoneJst() {
    ::setenv("TZ", "JST-9", 1);
    ::tzset();
}

std::string SetJapaneseLocale() {
    for (const char* name : {"ja_JP.UTF-8", "C.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            return name;
        }
    }
    // Neither is installed: the process keeps the "C" locale it started with.
    return "C";
}

std::string ExecutablePath() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        // readlink says nothing about truncation: a full buffer may be one.
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace platform
