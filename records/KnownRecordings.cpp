#include "records/KnownRecordings.h"

#include "platform/Files.h"
#include "records/RecordEntry.h"
#include "records/RecordFormat.h"

#include <span>
#include <vector>

namespace records {

namespace {

std::optional<std::uint64_t> KeyOf(std::string_view bytes) {
    if (bytes.size() < kHeaderSize) {
        return std::nullopt;
    }
    const std::span<const std::uint8_t> header(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                               kHeaderSize);
    return std::uint64_t{ReadLe16(header, kOffRecordNumber)} << 48 |
           std::uint64_t{ReadLe32(header, kOffSampleCount) & 0xFFFFFF} << 16 |
           ReadLe16(header, kOffChecksum);
}

bool SameRecording(std::string_view a, std::string_view b, bool anyTime) {
    if (a.size() != b.size() || a.empty()) {
        return false;
    }
    if (!anyTime) {
        return a == b;
    }
    constexpr std::size_t kTimeEnd = kOffRecordedTime + 4;
    return a.substr(0, kOffRecordedTime) == b.substr(0, kOffRecordedTime) &&
           a.substr(kTimeEnd) == b.substr(kTimeEnd);
}

} // namespace

CKnownRecordings::CKnownRecordings(std::string folder) : m_strFolder(std::move(folder)) {}

void CKnownRecordings::Scan() {
    m_bScanned = true;
    std::vector<std::string> paths;
    for (const std::string& name : platform::FolderEntries(m_strFolder)) {
        if (!platform::TemporaryTarget(name)) {
            paths.push_back(platform::JoinPath(m_strFolder, name));
        }
    }
    for (const std::string& path : paths) {
        const std::optional<std::string> header = platform::ReadFileStart(path, kHeaderSize);
        if (const auto key = header ? KeyOf(*header) : std::nullopt) {
            m_byKey.emplace(*key, path);
        }
    }
}

std::optional<std::string> CKnownRecordings::Find(std::string_view file, bool anyTime) {
    if (!m_bScanned) {
        Scan();
    }
    const std::string_view recording = RecordingPart(file);
    const std::optional<std::uint64_t> key = KeyOf(recording);
    if (!key) {
        return std::nullopt;
    }
    const auto [first, last] = m_byKey.equal_range(*key);
    for (auto it = first; it != last; ++it) {
        const std::optional<std::string> there =
            platform::ReadWholeFile(it->second, kMaxRecordFileSize);
        if (there && SameRecording(RecordingPart(*there), recording, anyTime)) {
            return it->second;
        }
    }
    return std::nullopt;
}

void CKnownRecordings::Add(const std::string& path, std::string_view file) {
    if (const auto key = KeyOf(file)) {
        m_byKey.emplace(*key, path);
    }
}

} // namespace records
