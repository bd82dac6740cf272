// The recordings a data folder holds, found by what they are rather than by
// name: an import asks here before it saves, so a recording the device
// offers again (an earlier import ended before the device let go of it) is
// not saved a second time under a new name.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace records {

class CKnownRecordings {
public:
    // The folder is read at the first Find.
    explicit CKnownRecordings(std::string folder);

    // A file of the folder whose recording part (RecordingPart) equals that
    // of `file`; with anyTime the recording times may differ, for a
    // recording whose time is the time of saving.
    std::optional<std::string> Find(std::string_view file, bool anyTime);
    // A file saved into the folder since.
    void Add(const std::string& path, std::string_view file);

private:
    void Scan();

    std::string m_strFolder;
    bool m_bScanned = false;
    // Record number, sample count and sample checksum: what tells
    // recordings apart without reading their samples.
    std::multimap<std::uint64_t, std::string> m_byKey;
};

} // namespace records
