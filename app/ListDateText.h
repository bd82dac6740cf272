// The record list's date text ("2024/1/5/(Friday)" in the resource texts):
// year, month, day and weekday name from the interface language, shared by
// the thumbnails and the main window's status bar.
#pragma once

#include <ctime>
#include <string>

namespace app {

// Without a local time (the conversion failed) the date reads 0/0/0 with
// the "no weekday" text.
std::string FormatListDate(const std::tm* local);

} // namespace app
