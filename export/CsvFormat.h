// A recording as comma-separated values: a header row, then one row per
// sample with its number, its time from the start in seconds and its value
// in millivolts.
#pragma once

#include "export/ExportFormat.h"

namespace exports {

class CCsvFormat : public IExportFormat {
public:
    std::string_view Name() const override { return "csv"; }
    std::string_view Extension() const override { return ".csv"; }
    bool Generate(const records::CECGContentsData& record, std::string& bytes,
                  std::string& problem) const override;
};

} // namespace exports
