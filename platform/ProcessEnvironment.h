// Process-wide set-up that must happen before anything reads a clock or
// formats text: the fixed UTC+9 time zone and the locale.
#pragma once

#include <string>

namespace platform {

// Puts TZ=JST-9 into the environment and re-reads it, so every local-time
// conversion of the process is UTC+9 without daylight saving.
void FixTimeZoneJst();

// Sets every locale category to ja_JP.UTF-8 when the machine has it, else
// C.UTF-8; returns the name taken.
std::string SetJapaneseLocale();

// Full path of the running executable.
std::string ExecutablePath();

} // namespace platform
