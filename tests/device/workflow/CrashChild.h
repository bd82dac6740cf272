// What the crash test and the process it kills agree on.
#pragma once

#include <ctime>
#include <string>

namespace crashtest {

// 2026-12-08 23:35:07 in UTC+9: every save of the import has this time.
inline constexpr std::time_t kNow = 1796740507;
inline constexpr unsigned kTimeoutMs = 300;

// The symptom text a memo save of the round writes with its situation, so
// that a file holding one without the other would show.
inline std::string RoundText(int round) {
    return "round " + std::to_string(round);
}

} // namespace crashtest
