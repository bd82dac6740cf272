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

// Descending byte-wise order of the sort keys; equal keys keep their order.
void SortByDescendingKey(RecordPtrs& records);

} // namespace records
