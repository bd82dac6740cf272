// The words an export carries beside the samples: the analysis result, the
// heart rate and each part of the memo, one text per topic, in the
// interface language.
#pragma once

#include <string>
#include <vector>

namespace records {
class CECGContentsData;
}

namespace exports {

// In this order: the analysis result, the heart rate, then the situation,
// symptoms, electrode position, posture and comment for each that the memo
// fills. Control characters (a comment's line breaks) become spaces.
std::vector<std::string> RecordNoteTexts(const records::CECGContentsData& record);

} // namespace exports
