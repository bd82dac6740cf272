// A recording as an EDF+ file (continuous, "EDF+C"), written by EDFlib: one
// signal "ECG" in millivolts at the record's rate with every sample once,
// the start at the recording's wall-clock time in UTC+9, an anonymous
// patient, the device model as equipment, and the analysis result, heart
// rate and memo as annotations at the start.
#pragma once

#include "export/ExportFormat.h"

namespace exports {

class CEdfFormat : public IExportFormat {
public:
    std::string_view Name() const override { return "edf"; }
    std::string_view Extension() const override { return ".edf"; }
    bool Generate(const records::CECGContentsData& record, std::string& bytes,
                  std::string& problem) const override;
};

} // namespace exports
