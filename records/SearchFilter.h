// The record search's filter by analysis result: six switches, one per result
// group, decide which analysis classes stay in the record list.
#pragma once

#include <span>

namespace records {

// Switch order: 0 no irregularity, 1 slow rate, 2 fast rate, 3 irregular
// beats, 4 irregular waveform, 5 not analysable. A non-zero switch is on.
inline constexpr int kSearchSwitchCount = 6;

// With every switch off all classes pass. A class outside 0-12 counts as 0.
bool MatchesFilter(std::span<const int, kSearchSwitchCount> switches, int analysisClass);

// True when one to five switches are on: the list shows only part of the records.
bool HasPartialFilter(std::span<const int, kSearchSwitchCount> switches);

} // namespace records
