// The order and selection of the record list after a refill: records whose
// analysis class fails the search switches are dropped, the rest sorted by
// descending sort key.
#pragma once

#include "records/ECGContentsData.h"
#include "records/SearchFilter.h"

#include <memory>
#include <span>
#include <vector>

namespace records {

using RecordPtrs = std::vector<std::unique_ptr<CECGContentsData>>;

// Loads every record that is not loaded yet (its class comes from its file)
// and removes those that MatchesFilter refuses; the others keep their order.
void FilterRecords(RecordPtrs& records, std::span<const int, kSearchSwitchCount> switches);

// Sort modes of the list: the high nibble picks the key, bit 0 reverses.
inline constexpr int kSortByKey = 16;
inline constexpr int kSortByKeyDescending = 17;
inline constexpr int kSortByTime = 128;
inline constexpr int kSortByTimeDescending = 129;

// -1, 0 or 1 as `a` sorts before, with or after `b` in the mode; a mode with
// another key makes every pair equal. Both records must be loaded.
int CompareRecords(const CECGContentsData& a, const CECGContentsData& b, int mode);

// Loads the records not loaded yet and sorts them in the mode; equal records
// keep their order.
void SortRecords(RecordPtrs& records, int mode);

// Descending byte-wise order of the sort keys; equal keys keep their order.
void SortByDescendingKey(RecordPtrs& records);

} // namespace records
