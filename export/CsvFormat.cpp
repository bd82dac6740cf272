#include "export/CsvFormat.h"

#include "records/ECGContentsData.h"
#include "records/SampleScale.h"

#include <charconv>
#include <system_error>

namespace exports {

namespace {

constexpr char kHeader[] = "sample,seconds,millivolts\n";
// Five decimals keep a thousandth of the scale's step: the value read back
// gives the same sample.
constexpr int kMillivoltDecimals = 5;

// to_chars ignores the process locale, so the decimal point is always '.'.
void Append(std::string& out, double value, std::chars_format form, int precision = -1) {
    char text[64];
    const auto result = precision < 0
                            ? std::to_chars(text, text + sizeof text, value, form)
                            : std::to_chars(text, text + sizeof text, value, form, precision);
    out.append(text, result.ec == std::errc() ? result.ptr : text);
}

} // namespace

bool CCsvFormat::Generate(const records::CECGContentsData& record, std::string& bytes,
                          std::string& /*problem*/) const {
    bytes = kHeader;
    const double rate = record.GetSampleRate();
    for (int i = 0; i < record.GetSampleCount(); ++i) {
        const records::CECGContentsData::Sample sample = record.GetSample(i);
        bytes += std::to_string(sample.number);
        bytes += ',';
        // The shortest text that reads back as the same time.
        Append(bytes, i / rate, std::chars_format::fixed);
        bytes += ',';
        Append(bytes, records::SampleMillivolts(sample.value), std::chars_format::fixed,
               kMillivoltDecimals);
        bytes += '\n';
    }
    return true;
}

} // namespace exports
