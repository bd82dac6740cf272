// Record files named on the command line: loading them, and the texts the
// windows show about one that cannot be used.
#pragma once

#include "records/ECGContentsData.h"

#include <memory>
#include <string>
#include <vector>

namespace tool {

constexpr unsigned kTextInvalidFile = 10019;     // "Invalid File!"
constexpr unsigned kTextFileNotFound = 61448;    // "The file you selected is not found."
constexpr unsigned kTextAnalysisMessage = 62020; // + analysis class 0-12

// 0 when the record loaded; else the text to show: not found for a path
// that holds nothing, invalid for anything that did not load.
unsigned RecordProblem(const records::CECGContentsData& record);

// Loads each file as a record, by its absolute path. Empty, with the file
// and the reason in `problem`, as soon as one cannot be used.
std::vector<std::unique_ptr<records::CECGContentsData>>
LoadRecordFiles(const std::vector<std::string>& files, std::string& problem);

} // namespace tool
