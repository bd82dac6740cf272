// `list`: the record list of a folder as the main window fills it.
#include "platform/Files.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "records/RecordFolder.h"
#include "records/RecordList.h"
#include "records/RecordTime.h"
#include "tools/Arguments.h"
#include "tools/Commands.h"
#include "tools/Json.h"
#include "tools/TerminalText.h"
#include "tools/ToolContext.h"
#include "tools/ToolTexts.h"

#include <array>
#include <iostream>

namespace tool {

namespace {

std::array<int, records::kSearchSwitchCount> ParseFilter(const std::string& bits) {
    std::array<int, records::kSearchSwitchCount> switches{};
    if (bits.size() != switches.size() || bits.find_first_not_of("01") != std::string::npos)
        throw Usage(kTextSwitchDigits, {"--filter", bits});
    for (std::size_t i = 0; i < switches.size(); ++i)
        switches[i] = bits[i] == '1';
    return switches;
}

} // namespace

int RunList(std::span<const std::string> args) {
    const Arguments arguments(args, {"--json"}, {"--folder", "--filter"});
    if (!arguments.Positionals().empty())
        throw Usage(kTextNoFiles, {"list"});

    app::CECGOptions options;
    LoadToolSettings(options);
    std::array<int, records::kSearchSwitchCount> switches = options.searchColumns;
    if (const auto bits = arguments.Value("--filter"))
        switches = ParseFilter(*bits);
    const std::string folder = arguments.Value("--folder").value_or(options.dirHdd);

    if (!platform::IsDirectory(folder))
        return Fail(platform::FormatText(platform::LoadText(kTextDataFolderMissing),
                                         {TerminalField(folder)}));

    records::RecordPtrs list = records::GatherRecordFolder(folder);
    records::FilterRecords(list, switches);
    records::SortByDescendingKey(list);

    if (arguments.Has("--json")) {
        JsonWriter json(std::cout);
        json.BeginArray();
        for (const auto& record : list) {
            json.BeginObject();
            json.PathField("path", record->GetPath());
            json.PathField("file_name", record->GetFileName());
            json.Field("sort_key", record->GetSortKey());
            json.Field("recorded", static_cast<long long>(record->GetRecordTime()));
            json.Field("analysis_class", record->GetAnalysisClass());
            json.EndObject();
        }
        json.EndArray();
    } else {
        for (const auto& record : list)
            std::cout << TerminalField(record->GetFileName()) << '\t'
                      << records::FormatRecordTime(record->GetRecordTime(), false) << '\t'
                      << record->GetAnalysisClass() << '\n';
    }
    return kExitOk;
}

} // namespace tool
