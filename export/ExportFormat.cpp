#include "export/ExportFormat.h"

#include "export/CsvFormat.h"
#include "export/EdfFormat.h"

#include <array>

namespace exports {

namespace {

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

const std::array<const IExportFormat*, 2>& Formats() {
    static const CEdfFormat edf;
    static const CCsvFormat csv;
    static const std::array<const IExportFormat*, 2> formats{&edf, &csv};
    return formats;
}

} // namespace

const IExportFormat* FindExportFormat(std::string_view name) {
    for (const IExportFormat* format : Formats())
        if (SameLetters(format->Name(), name))
            return format;
    return nullptr;
}

const IExportFormat* FormatForFileName(std::string_view fileName) {
    for (const IExportFormat* format : Formats()) {
        const std::string_view extension = format->Extension();
        if (fileName.size() > extension.size() &&
            SameLetters(fileName.substr(fileName.size() - extension.size()), extension))
            return format;
    }
    return nullptr;
}

} // namespace exports
