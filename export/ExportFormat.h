// One way a recording leaves the program as a file other tools open. Each
// format is one class in its own file pair (EdfFormat, CsvFormat) that
// turns a record into the file's bytes; ExportJob decides where they go
// and saves them.
//
//     const exports::IExportFormat* format = exports::FindExportFormat("edf");
//     std::string bytes, problem;
//     if (!format->Generate(record, bytes, problem))
//         prompts.ShowMessage(problem, platform::MessageIcon::Exclamation);
#pragma once

#include <string>
#include <string_view>

namespace records {
class CECGContentsData;
}

namespace exports {

class IExportFormat {
public:
    virtual ~IExportFormat() = default;
    // The name the command line takes ("edf"), and the file extension with
    // its dot (".edf").
    virtual std::string_view Name() const = 0;
    virtual std::string_view Extension() const = 0;
    // The whole file for a loaded record; false with the reason to show
    // (in the interface language) when this format cannot hold it.
    virtual bool Generate(const records::CECGContentsData& record, std::string& bytes,
                          std::string& problem) const = 0;
};

// By name, without regard to case; nullptr for a name no format has.
const IExportFormat* FindExportFormat(std::string_view name);
// By the extension of a file name, without regard to case; nullptr when
// the name ends in none of the formats' extensions.
const IExportFormat* FormatForFileName(std::string_view fileName);

} // namespace exports
