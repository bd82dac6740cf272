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

int CompareRecords(const CECGContentsData& a, const CECGContentsData& b, int mode) {
    int result = 0;
    switch (mode & ~1) {
    case kSortByKey: {
        // Byte-wise, as the keys are file names.
        const int c = a.GetSortKey().compare(b.GetSortKey());
        result = c < 0 ? -1 : (c > 0 ? 1 : 0);
        break;
    }
    case kSortByTime:
        result = a.GetRecordTime() > b.GetRecordTime()   ? 1
                 : a.GetRecordTime() < b.GetRecordTime() ? -1
                                                         : 0;
        break;
    default:
        break;
    }
    return (mode & 1) != 0 ? -result : result;
}

void SortRecords(RecordPtrs& records, int mode) {
    for (const auto& record : records) {
        if (!record->IsLoaded())
            record->Load();
    }
    std::stable_sort(records.begin(), records.end(), [mode](const auto& a, const auto& b) {
        return CompareRecords(*a, *b, mode) < 0;
    });
}

void SortByDescendingKey(RecordPtrs& records) {
    SortRecords(records, kSortByKeyDescending);
}

} // namespace records
