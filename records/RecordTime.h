// The text form of a recording time in local time: the file-name style used
// by copies named after their recording time, and the display style of the
// record list and the wave paper.
#pragma once

#include <cstdint>
#include <string>

namespace records {

// File-name style: "2024_01_05_[03_04_05_PM]". Display style:
// "2024/01/05 03:04:05 PM". A time the C library cannot convert shows year,
// month and day 0 and hour, minute and second -1.
std::string FormatRecordTime(std::int64_t time, bool fileNameStyle);

} // namespace records
