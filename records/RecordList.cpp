#include "records/RecordList.h"

#include <algorithm>

namespace records {

void FilterRecords(RecordPtrs& records, std::span<const int, kSearchSwitchCount> switches) {
    std::erase_if(records, [switches](const std::unique_ptr<CECGContentsData>& record) {
        if (!record->IsLoaded())
            record->Load();
        return !MatchesFilter(switches, record->GetAnalysisClass());
    });
}

void SortByDescendingKey(RecordPtrs& records) {
    std::stable_sort(records.begin(), records.end(), [](const auto& a, const auto& b) {
        return b->GetSortKey() < a->GetSortKey();
    });
}

} // namespace records
