// `list`: the record list of a folder as the main window fills it.
#include "platform/Files.h"
#include "records/RecordFolder.h"
#include "records/RecordList.h"
#include "records/RecordTime.h"
#include "tools/Arguments.h"
#include "tools/Commands.h"
#include "tools/Json.h"
#include "tools/ToolContext.h"

#include <array>
#include <iostream>

namespace tool {

namespace {

std::array<int, records::kSearchSwitchCount> ParseFilter(const std::string& bits) {
    std::array<int, records::kSearchSwitchCount> switches{};
    if (bits.size() != switches.size() || bits.find_first_not_of("01") != std::string::npos)
        throw UsageError("--filter takes six digits 0 or 1 (no irregularity, slow, fast, "
                         "irregular beats, irregular waveform, not analysable), not \"" +
                         bits + "\"");
    for (std::size_t i = 0; i < switches.size(); ++i)
        switches[i] = bits[i] == '1';
    return switches;
}

} // namespace

int RunList(std::span<const std::string> args) {
    const Arguments arguments(args, {"--json"}, {"--folder", "--filter"});
    if (!arguments.Positionals().empty())
        throw UsageError("list takes no file names; use --folder DIR");

    app::CECGOptions options;
    LoadToolSettings(options);
    std::array<int, records::kSearchSwitchCount> switches = options.searchColumns;
    if (const auto bits = arguments.Value("--filter"))
        switches = ParseFilter(*bits);
    const std::string folder = arguments.Value("--folder").value_or(options.dirHdd);

    if (!platform::IsDirectory(folder))
        return Fail("The data folder " + folder + " does not exist.");

    records::RecordPtrs list = records::GatherRecordFolder(folder);
    records::FilterRecords(list, switches);
    records::SortByDescendingKey(list);

    if (arguments.Has("--json")) {
        JsonWriter json(std::cout);
        json.BeginArray();
        for (const auto& record : list) {
            json.BeginObject();
            json.Field("path", record->GetPath());
            json.Field("file_name", record->GetFileName());
            json.Field("sort_key", record->GetSortKey());
            json.Field("recorded", static_cast<long long>(record->GetRecordTime()));
            json.Field("analysis_class", record->GetAnalysisClass());
            json.EndObject();
        }
        json.EndArray();
    } else {
        for (const auto& record : list)
            std::cout << record->GetFileName() << '\t'
                      << records::FormatRecordTime(record->GetRecordTime(), false) << '\t'
                      << record->GetAnalysisClass() << '\n';
    }
    return kExitOk;
}

} // namespace tool
