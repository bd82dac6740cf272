// Dates and times as the device dialogs and questions show them, in the
// words of the interface language.
#pragma once

#include <cstdint>
#include <string>

namespace device {

// The weekday name of a local weekday (0 = Sunday).
std::string WeekdayName(int weekday);

// The year (string 62007), month/day(weekday) (62008), a space and
// hour:minute (62011) of the local time.
std::string FormatDeviceTime(std::int64_t time);

} // namespace device
