#include "device/workflow/DeviceTimeText.h"

#include "platform/ResourceText.h"
#include "platform/TextFormat.h"

#include <ctime>

namespace device {

namespace {

constexpr unsigned kTextSunday = 62000;
constexpr unsigned kTextYear = 62007;
constexpr unsigned kTextMonthDay = 62008;
constexpr unsigned kTextHourMinute = 62011;

} // namespace

std::string WeekdayName(int weekday) {
    if (weekday < 0 || weekday > 6)
        return "";
    return platform::LoadText(kTextSunday + static_cast<unsigned>(weekday));
}

std::string FormatDeviceTime(std::int64_t time) {
    const auto t = static_cast<std::time_t>(time);
    std::tm local{};
    if (!localtime_r(&t, &local))
        return "";
    using platform::FormatText;
    using platform::LoadText;
    return FormatText(LoadText(kTextYear), {local.tm_year + 1900}) +
           FormatText(LoadText(kTextMonthDay),
                      {local.tm_mon + 1, local.tm_mday, WeekdayName(local.tm_wday)}) +
           " " + FormatText(LoadText(kTextHourMinute), {local.tm_hour, local.tm_min});
}

} // namespace device
