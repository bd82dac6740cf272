#include "device/DeviceClock.h"

#include <time.h>

namespace device {

std::optional<std::int64_t> DeviceClockToTime(std::span<const std::uint8_t, 6> bytes) {
    const int month = bytes[1];
    const int day = bytes[2];
    if (month < 1 || month > 12 || day < 1 || day > 31 || bytes[3] > 23 || bytes[4] > 59 ||
        bytes[5] > 59) {
        return std::nullopt;
    }
    struct tm local {};
    local.tm_year = 2000 + bytes[0] - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = bytes[3];
    local.tm_min = bytes[4];
    local.tm_sec = bytes[5];
    local.tm_isdst = -1;
    const time_t t = ::mktime(&local);
    // mktime moves a day past the month's end into the next month; such a
    // date is as wrong as a month 13.
    if (t == static_cast<time_t>(-1) || local.tm_mday != day || local.tm_mon != month - 1) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(t);
}

std::optional<DeviceClockBytes> TimeToDeviceClock(std::int64_t time) {
    const time_t t = static_cast<time_t>(time);
    struct tm local {};
    if (::localtime_r(&t, &local) == nullptr) {
        return std::nullopt;
    }
    const int year = local.tm_year + 1900 - 2000;
    if (year < 0 || year > 255) {
        return std::nullopt;
    }
    return DeviceClockBytes{
        static_cast<std::uint8_t>(year),          static_cast<std::uint8_t>(local.tm_mon + 1),
        static_cast<std::uint8_t>(local.tm_mday), static_cast<std::uint8_t>(local.tm_hour),
        static_cast<std::uint8_t>(local.tm_min),  static_cast<std::uint8_t>(local.tm_sec)};
}

} // namespace device
