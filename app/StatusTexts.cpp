#include "app/StatusTexts.h"

#include "app/ListDateText.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "records/ECGContentsData.h"

#include <cstdint>
#include <ctime>

namespace app {

namespace {

constexpr unsigned kTextAm = 62009;
constexpr unsigned kTextPm = 62010;
constexpr unsigned kTextAnalysis = 62020;
constexpr unsigned kTextTime = 62091;
constexpr unsigned kTextHeartRate = 62092;
constexpr unsigned kTextResult = 62093;
constexpr unsigned kTextModel = 62094;
constexpr unsigned kTextHeartRateUnknown = 10304;
constexpr int kAnalysisCount = 13;
constexpr std::uint16_t kNoHeartRate = 0xFFFF;

using platform::FormatText;
using platform::LoadText;

} // namespace

std::string StatusTimeText(std::int64_t recorded) {
    const auto t = static_cast<std::time_t>(recorded);
    std::tm local{};
    if (::localtime_r(&t, &local) == nullptr) {
        return FormatListDate(nullptr) +
               FormatText(LoadText(kTextTime),
                          {std::string_view(LoadText(kTextPm)), std::int64_t{-1}, std::int64_t{-1},
                           std::int64_t{-1}});
    }
    const std::string half = LoadText(local.tm_hour < 12 ? kTextAm : kTextPm);
    // A 12-hour clock shows 12 for both midnight and noon.
    const int hour = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
    return FormatListDate(&local) +
           FormatText(LoadText(kTextTime),
                      {std::string_view(half), std::int64_t{hour}, std::int64_t{local.tm_min},
                       std::int64_t{local.tm_sec}});
}

std::string StatusResultText(int analysisClass) {
    if (analysisClass < 0 || analysisClass >= kAnalysisCount)
        return FormatText(LoadText(kTextResult), {std::string_view(), std::string_view()});
    const std::string message = LoadText(kTextAnalysis + static_cast<unsigned>(analysisClass));
    // The first character stands apart from the rest in some languages'
    // formats; split at a whole UTF-8 character, never inside one.
    std::size_t first = message.empty() ? 0 : 1;
    while (first < message.size() && (static_cast<unsigned char>(message[first]) & 0xC0) == 0x80)
        ++first;
    return FormatText(LoadText(kTextResult), {std::string_view(message).substr(0, first),
                                              std::string_view(message).substr(first)});
}

std::array<std::string, kStatusPaneCount> StatusPaneTexts(const records::CECGContentsData& record) {
    const std::uint16_t rate = record.GetHeartRate();
    return {StatusTimeText(record.GetRecordTime()),
            FormatText(LoadText(kTextModel), {std::string_view(kDeviceModel)}),
            rate == kNoHeartRate ? LoadText(kTextHeartRateUnknown)
                                 : FormatText(LoadText(kTextHeartRate), {std::int64_t{rate}}),
            StatusResultText(record.GetAnalysisClass())};
}

} // namespace app
