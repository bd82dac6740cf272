#include "records/RecordEntry.h"

#include "platform/Files.h"
#include "records/RecordFormat.h"

#include <cerrno>
#include <cstdint>
#include <span>

namespace records {

std::string_view RecordingPart(std::string_view file) {
    if (file.size() < kHeaderSize) {
        return {};
    }
    const std::span<const std::uint8_t> header(reinterpret_cast<const std::uint8_t*>(file.data()),
                                               kHeaderSize);
    const std::uint32_t n = ReadLe32(header, kOffSampleCount);
    if (n > kMaxSamples || file.size() < kHeaderSize + SampleAreaSize(n)) {
        return {};
    }
    return file.substr(0, kHeaderSize + SampleAreaSize(n));
}

RecordEntry EnterRecordFile(const std::string& folder,
                            const std::function<std::string(int)>& nameFor, std::string_view file,
                            bool presentCounts) {
    const std::string_view recording = RecordingPart(file);
    RecordEntry entry;
    for (int k = 0; k <= kMaxNameProbes; ++k) {
        const std::string path = platform::JoinPath(folder, nameFor(k));
        int error = 0;
        if (platform::WriteNewFileAtomic(path, file, &error)) {
            entry.result = EntryResult::Entered;
            entry.path = path;
            return entry;
        }
        if (error != EEXIST) {
            entry.error = error;
            return entry;
        }
        if (presentCounts && !recording.empty()) {
            const std::optional<std::string> there =
                platform::ReadWholeFile(path, kMaxRecordFileSize);
            if (there && RecordingPart(*there) == recording) {
                entry.result = EntryResult::Present;
                entry.path = path;
                return entry;
            }
        }
    }
    entry.error = EEXIST;
    return entry;
}

} // namespace records
