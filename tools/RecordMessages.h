// The texts the windows show about a record file that cannot be used.
#pragma once

#include "records/ECGContentsData.h"

namespace tool {

constexpr unsigned kTextInvalidFile = 10019;     // "Invalid File!"
constexpr unsigned kTextFileNotFound = 61448;    // "The file you selected is not found."
constexpr unsigned kTextAnalysisMessage = 62020; // + analysis class 0-12

// 0 when the record loaded; else the text to show: not found for a path
// that holds nothing, invalid for anything that did not load.
unsigned RecordProblem(const records::CECGContentsData& record);

} // namespace tool
