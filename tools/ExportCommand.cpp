// `export`: recordings as EDF+ or CSV files for other programs, one file
// per record: OUT is the file for a single record, an existing folder that
// receives a file named after each record, or "-" for the standard output.
#include "export/ExportJob.h"
#include "platform/Files.h"
#include "tools/Arguments.h"
#include "tools/Commands.h"
#include "tools/Json.h"
#include "tools/OutputTarget.h"
#include "tools/RecordMessages.h"
#include "tools/TerminalText.h"
#include "tools/ToolContext.h"
#include "tools/ToolTexts.h"

#include <filesystem>
#include <iostream>

namespace tool {

namespace {

const exports::IExportFormat& ChooseFormat(const Arguments& arguments, const std::string& out,
                                           bool toFolder) {
    if (const auto name = arguments.Value("--format")) {
        if (const exports::IExportFormat* format = exports::FindExportFormat(*name))
            return *format;
        throw Usage(kTextOneOf, {"--format", "edf, csv", *name});
    }
    if (toFolder)
        return *exports::FindExportFormat("edf");
    if (const exports::IExportFormat* format = exports::FormatForFileName(out))
        return *format;
    throw Usage(kTextOutputKind, {"-o " + out, ".edf, .csv"});
}

void Report(const exports::ExportOutcome& outcome, const exports::IExportFormat& format,
            bool asJson) {
    if (asJson) {
        JsonWriter json(std::cout);
        json.BeginObject();
        json.Field("result", outcome.problem.empty() ? "ok" : "failed");
        json.Field("message", outcome.problem);
        json.Field("format", format.Name());
        json.PathArrayField("written", outcome.written);
        json.EndObject();
    } else {
        for (const std::string& path : outcome.written)
            std::cout << TerminalField(path) << '\n';
    }
}

// One record's file on the standard output.
int ExportToStandardOutput(const std::vector<std::string>& files,
                           const exports::IExportFormat& format) {
    std::string problem;
    const auto loaded = LoadRecordFiles(files, problem);
    if (loaded.empty())
        return Fail(problem);
    std::string bytes;
    if (!format.Generate(*loaded.front(), bytes, problem))
        return Fail(problem);
    return WriteOutput("-", bytes);
}

} // namespace

int RunExport(std::span<const std::string> args) {
    const Arguments arguments(args, {"--force", "--json"}, {"-o", "--format"});
    const std::vector<std::string>& files = arguments.Positionals();
    if (files.empty())
        throw Usage(kTextNeedsFiles, {"export"});
    const auto given = arguments.Value("-o");
    if (!given)
        throw Usage(kTextNeedsOption, {"export", "-o OUT"});
    if (IsStandardOutput(*given)) {
        if (files.size() > 1)
            throw Usage(kTextOneFile, {"export -o -"});
        if (arguments.Has("--json"))
            throw Usage(kTextTogether, {"-o -", "--json"});
        if (!arguments.Value("--format"))
            throw Usage(kTextNeedsOption, {"export -o -", "--format edf|csv"});
        const exports::IExportFormat& format = ChooseFormat(arguments, *given, false);
        CheckOutput(*given, format.Name(), format.Name() == "csv");
        return ExportToStandardOutput(files, format);
    }
    std::error_code ignored;
    const std::string out = std::filesystem::absolute(*given, ignored).lexically_normal().string();
    const bool toFolder = platform::IsDirectory(out);
    if (files.size() > 1 && !toFolder)
        throw Usage(kTextOneFile, {"export -o " + *given});
    const exports::IExportFormat& format = ChooseFormat(arguments, out, toFolder);

    std::string problem;
    const auto loaded = LoadRecordFiles(files, problem);
    if (loaded.empty())
        return Fail(problem);
    std::vector<const records::CECGContentsData*> records;
    for (const auto& record : loaded)
        records.push_back(record.get());
    const std::vector<exports::ExportItem> items =
        toFolder ? exports::ItemsInFolder(records, out, format)
                 : std::vector<exports::ExportItem>{{records.front(), out}};

    const exports::ExportOutcome outcome =
        exports::RunExport(items, format, arguments.Has("--force"));
    Report(outcome, format, arguments.Has("--json"));
    return outcome.problem.empty() ? kExitOk : Fail(outcome.problem);
}

} // namespace tool
