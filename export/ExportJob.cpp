#include "export/ExportJob.h"

#include "platform/Files.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "records/ECGContentsData.h"

#include <cerrno>
#include <filesystem>
#include <set>
#include <system_error>

namespace exports {

namespace {

constexpr unsigned kTextExists = 62758;
constexpr unsigned kTextNotWritten = 62759;
constexpr unsigned kTextSameTarget = 62762;
constexpr unsigned kTextRecordTarget = 62769;

using platform::FormatText;
using platform::LoadText;

// A record load takes any file whose name ends in "ecg", in any case.
bool IsRecordFileName(const std::string& path) {
    const std::string name = platform::BaseName(path);
    if (name.size() < 3)
        return false;
    std::string tail = name.substr(name.size() - 3);
    for (char& c : tail)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return tail == "ecg";
}

// One spelling per file, so that two names of one target are seen as one.
std::string SamePlace(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::weakly_canonical(std::filesystem::absolute(path, ignored), ignored)
        .string();
}

} // namespace

std::string TargetName(const records::CECGContentsData& record, const IExportFormat& format) {
    const std::filesystem::path name(record.GetFileName());
    return name.stem().string() + std::string(format.Extension());
}

std::vector<ExportItem> ItemsInFolder(std::span<const records::CECGContentsData* const> records,
                                      const std::string& folder, const IExportFormat& format) {
    std::vector<ExportItem> items;
    for (const records::CECGContentsData* record : records)
        items.push_back({record, platform::JoinPath(folder, TargetName(*record, format))});
    return items;
}

std::vector<std::string> ExistingTargets(const std::vector<ExportItem>& items) {
    std::vector<std::string> existing;
    for (const ExportItem& item : items)
        if (platform::FileExists(item.strTarget))
            existing.push_back(item.strTarget);
    return existing;
}

std::string CheckExport(const std::vector<ExportItem>& items, bool replace) {
    std::set<std::string> places;
    for (const ExportItem& item : items) {
        const std::string_view target(item.strTarget);
        // A replacing save writes through a link: where it leads counts too.
        const std::string place = SamePlace(item.strTarget);
        if (IsRecordFileName(item.strTarget) || IsRecordFileName(place))
            return FormatText(LoadText(kTextRecordTarget), {target});
        if (!places.insert(place).second)
            return FormatText(LoadText(kTextSameTarget), {target});
        if (!replace && platform::FileExists(item.strTarget))
            return FormatText(LoadText(kTextExists), {target});
    }
    return {};
}

ExportOutcome RunExport(const std::vector<ExportItem>& items, const IExportFormat& format,
                        bool replace, const ExportProgress& progress) {
    ExportOutcome outcome;
    outcome.problem = CheckExport(items, replace);
    if (!outcome.problem.empty())
        return outcome;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (progress && !progress(i, items.size())) {
            outcome.bCancelled = true;
            return outcome;
        }
        const ExportItem& item = items[i];
        std::string bytes;
        std::string problem;
        if (!format.Generate(*item.pRecord, bytes, problem)) {
            outcome.problem = item.pRecord->GetFileName() + ": " + problem;
            return outcome;
        }
        int error = 0;
        const bool saved = replace ? platform::WriteFileAtomic(item.strTarget, bytes, &error)
                                   : platform::WriteNewFileAtomic(item.strTarget, bytes, &error);
        if (!saved) {
            const std::string_view target(item.strTarget);
            outcome.problem =
                error == EEXIST && !replace
                    ? FormatText(LoadText(kTextExists), {target})
                    : FormatText(
                          LoadText(kTextNotWritten),
                          {target, std::string_view(std::generic_category().message(error))});
            return outcome;
        }
        outcome.written.push_back(item.strTarget);
    }
    if (progress)
        progress(items.size(), items.size());
    return outcome;
}

} // namespace exports
