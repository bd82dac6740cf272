#include "records/RecordFileOps.h"

#include "platform/Files.h"
#include "platform/ResourceText.h"
#include "records/ECGContentsData.h"
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
    std::string target = folder;
    if (nameByTime) {
        const int analysisClass = record.GetAnalysisClass();
        target += FormatRecordTime(record.GetRecordTime(), true) + "_" +
                  FirstCharacter(platform::LoadText(kTextAnalysisMessage +
                                                    static_cast<unsigned>(analysisClass)));
    } else {
        target += stem;
    }
    target += extension;

    platform::CreateOneFolder(folder);
    if (skipIfPresent) {
        CECGContentsData present;
        present.SetPath(target);
        if (present.IsValidFile())
            return kRecordFileSkipped;
    }

    const std::optional<std::string> bytes = platform::ReadWholeFile(source, kMaxCopyBytes);
    int error = 0;
    if (!bytes || !platform::WriteFileAtomic(target, *bytes, &error))
        return error == ENOSPC ? kRecordFileDiskFull : kRecordFileCopyFailed;
    newPath = target;
    return kRecordFileDone;
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
