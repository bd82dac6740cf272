#include "records/RecordFileOps.h"

#include "platform/Files.h"
#include "platform/ResourceText.h"
#include "records/ECGContentsData.h"
#include "records/RecordEntry.h"
#include "records/RecordTime.h"

#include <unistd.h>

#include <cerrno>

namespace records {

namespace {

constexpr unsigned kTextAnalysisMessage = 62020;
// A record file is a few kilobytes; anything far larger is not copied whole
// into memory.
constexpr std::size_t kMaxCopyBytes = 16 * 1024 * 1024;

// The first character (not byte) of the text, made safe for a file name.
std::string FirstCharacter(const std::string& text) {
    if (text.empty())
        return "";
    std::size_t length = 1;
    while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        ++length;
    const std::string first = text.substr(0, length);
    return first == "/" || first == std::string(1, '\0') ? "_" : first;
}

} // namespace

int CopyRecordFile(const std::string& source, const std::string& folder, bool skipIfPresent,
                   bool nameByTime, std::string& newPath) {
    if (source.empty() || folder.empty())
        return kRecordFileNoPath;

    CECGContentsData record;
    record.SetPath(source);
    record.Load();
    if (!record.IsLoaded() || !record.IsValidFile())
        return kRecordFileNotRecord;

    const std::string name = platform::BaseName(source);
    const std::size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string mark =
        nameByTime ? FirstCharacter(platform::LoadText(
                         kTextAnalysisMessage + static_cast<unsigned>(record.GetAnalysisClass())))
                   : std::string();
    // A taken name is followed by the next second of the recording time, or
    // by a number after the source's name: the same pattern either way.
    auto nameFor = [&](int k) {
        if (nameByTime)
            return FormatRecordTime(record.GetRecordTime() + k, true) + "_" + mark + extension;
        return k == 0 ? stem + extension : stem + "_" + std::to_string(k) + extension;
    };

    const std::optional<std::string> bytes = platform::ReadWholeFile(source, kMaxCopyBytes);
    if (!bytes)
        return kRecordFileCopyFailed;
    platform::CreateOneFolder(folder);
    const RecordEntry entry = EnterRecordFile(folder, nameFor, *bytes, skipIfPresent);
    switch (entry.result) {
    case EntryResult::Entered:
        newPath = entry.path;
        return kRecordFileDone;
    case EntryResult::Present:
        newPath = entry.path;
        return kRecordFileSkipped;
    case EntryResult::Failed:
        break;
    }
    return entry.error == ENOSPC || entry.error == EDQUOT ? kRecordFileDiskFull
                                                          : kRecordFileCopyFailed;
}

int DeleteRecordFile(const std::string& path, bool checkWriteAccess) {
    if (path.empty())
        return kRecordFileNoPath;
    CECGContentsData record;
    record.SetPath(path);
    if (!record.IsValidFile())
        return kRecordFileNotRecord;
    if (checkWriteAccess && !platform::CanWrite(path))
        return kRecordFileNotWritable;
    ::unlink(path.c_str());
    return kRecordFileDone;
}

bool IsUsableFolder(const std::string& path) {
    return !path.empty() && platform::FileExists(path);
}

} // namespace records
