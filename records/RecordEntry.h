// How a record file enters a data folder: never over another file. A name
// whose file holds the same recording (header and samples; the memo is the
// person's own) means the recording is there already; a name whose file
// holds anything else sends the new file on to the next name of the same
// pattern, so the list and other tools still read it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace records {

// The recording part of a record file's bytes: the header and the sample
// area, without padding and memo; empty when the bytes hold no complete one.
std::string_view RecordingPart(std::string_view file);

enum class EntryResult { Entered, Present, Failed };

struct RecordEntry {
    EntryResult result = EntryResult::Failed;
    std::string path; // where the recording is now (Entered, Present)
    int error = 0;    // the errno when Failed
};

// How many names after the first a clash may try.
inline constexpr int kMaxNameProbes = 1000;

// Saves `file` into `folder` as nameFor(0), or nameFor(1), nameFor(2), ...
// while those names are taken. With presentCounts a taken name whose file
// holds the same recording ends the search: the recording is Present there.
RecordEntry EnterRecordFile(const std::string& folder,
                            const std::function<std::string(int)>& nameFor, std::string_view file,
                            bool presentCounts = true);

} // namespace records
