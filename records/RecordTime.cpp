#include "records/RecordTime.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace records {

namespace {

static_assert(sizeof(std::time_t) >= sizeof(std::int64_t), "recording times need a 64-bit time_t");

struct LocalParts {
    long long year = 0; // tm_year + 1900 may not fit an int
    int month = 0;
    int day = 0;
    int hour = -1;
    int minute = -1;
    int second = -1;
};

LocalParts ToLocalParts(std::int64_t time) {
    LocalParts parts;
    const auto t = static_cast<std::time_t>(time);
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr) {
        return parts;
    }
    parts.year = tm.tm_year + 1900LL;
    parts.month = tm.tm_mon + 1;
    parts.day = tm.tm_mday;
    parts.hour = tm.tm_hour;
    parts.minute = tm.tm_min;
    parts.second = tm.tm_sec;
    return parts;
}

} // namespace

std::string FormatRecordTime(std::int64_t time, bool fileNameStyle) {
    const LocalParts p = ToLocalParts(time);
    int hour12 = p.hour > 12 ? p.hour - 12 : p.hour;
    if (hour12 == 0) {
        hour12 = 12;
    }
    const char* mark = p.hour < 12 ? "AM" : "PM";
    char text[96]; // room for six numbers of any size
    const int n = fileNameStyle
                      ? std::snprintf(text, sizeof text, "%04lld_%02d_%02d_[%02d_%02d_%02d_%s]",
                                      p.year, p.month, p.day, hour12, p.minute, p.second, mark)
                      : std::snprintf(text, sizeof text, "%04lld/%02d/%02d %02d:%02d:%02d %s",
                                      p.year, p.month, p.day, hour12, p.minute, p.second, mark);
    return n > 0 ? std::string(text, std::min<std::size_t>(n, sizeof text - 1)) : std::string();
}

} // namespace records
