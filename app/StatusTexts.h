// The four status-bar panes of the main window for one record: recording
// time, device model, average heart rate and the analysis message.
#pragma once

#include "records/RecordFormat.h"

#include <array>
#include <cstdint>
#include <string>

namespace records {
class CECGContentsData;
}

namespace app {

inline constexpr int kStatusPaneCount = 4;
using records::kDeviceModel;

std::array<std::string, kStatusPaneCount> StatusPaneTexts(const records::CECGContentsData& record);

// Pane 0: the recording time on a 12-hour clock.
std::string StatusTimeText(std::int64_t recorded);
// Pane 3: the analysis message of a class 0-12; other classes give the
// format with two empty texts.
std::string StatusResultText(int analysisClass);

} // namespace app
