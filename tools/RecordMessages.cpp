#include "tools/RecordMessages.h"

#include "platform/Files.h"
#include "platform/ResourceText.h"
#include "tools/TerminalText.h"

#include <filesystem>

namespace tool {

unsigned RecordProblem(const records::CECGContentsData& record) {
    if (!platform::IsRegularFile(record.GetPath()))
        return platform::FileExists(record.GetPath()) ? kTextInvalidFile : kTextFileNotFound;
    return record.IsLoaded() && record.GetKind() == 1 ? 0 : kTextInvalidFile;
}

std::vector<std::unique_ptr<records::CECGContentsData>>
LoadRecordFiles(const std::vector<std::string>& files, std::string& problem) {
    std::vector<std::unique_ptr<records::CECGContentsData>> loaded;
    for (const std::string& file : files) {
        auto record = std::make_unique<records::CECGContentsData>();
        std::error_code ignored;
        record->SetPath(std::filesystem::absolute(file, ignored).lexically_normal().string());
        record->Load();
        if (const unsigned text = RecordProblem(*record)) {
            problem = TerminalField(file) + ": " + platform::LoadText(text);
            return {};
        }
        loaded.push_back(std::move(record));
    }
    return loaded;
}

} // namespace tool
