// An export of one or more records: where each file goes, the refusals
// made before anything is written, and the crash-safe save of each file.
// The command line and the windows run the same job.
#pragma once

#include "export/ExportFormat.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

namespace exports {

struct ExportItem {
    const records::CECGContentsData* pRecord = nullptr;
    std::string strTarget; // the file to write
};

// The record's file name with the format's extension in place of its own.
std::string TargetName(const records::CECGContentsData& record, const IExportFormat& format);

// One item per record, each a file named after its record in `folder`.
std::vector<ExportItem> ItemsInFolder(std::span<const records::CECGContentsData* const> records,
                                      const std::string& folder, const IExportFormat& format);

// The targets that something is at already.
std::vector<std::string> ExistingTargets(const std::vector<ExportItem>& items);

// What refuses the whole export, in the interface language: a target named
// like a record file (an export never replaces a recording), two records
// bound for one file, or, unless `replace`, a target that exists. Empty
// when the export may start.
std::string CheckExport(const std::vector<ExportItem>& items, bool replace);

struct ExportOutcome {
    std::vector<std::string> written; // the files saved, in item order
    std::string problem;              // why it stopped; empty when it did not
    bool bCancelled = false;
};

// Called before each file with the number done so far; false stops the
// export there.
using ExportProgress = std::function<bool(std::size_t done, std::size_t total)>;

// CheckExport, then each item in turn: the format's bytes saved to the
// target crash-safely, never over an existing file unless `replace`. Stops
// at the first item that fails; the files written before it stay.
ExportOutcome RunExport(const std::vector<ExportItem>& items, const IExportFormat& format,
                        bool replace, const ExportProgress& progress = {});

} // namespace exports
