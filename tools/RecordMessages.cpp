#include "tools/RecordMessages.h"

#include "platform/Files.h"

namespace tool {

unsigned RecordProblem(const records::CECGContentsData& record) {
    if (!platform::IsRegularFile(record.GetPath()))
        return platform::FileExists(record.GetPath()) ? kTextInvalidFile : kTextFileNotFound;
    return record.IsLoaded() && record.GetKind() == 1 ? 0 : kTextInvalidFile;
}

} // namespace tool
