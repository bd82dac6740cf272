#include "app/ListDateText.h"

#include "platform/ResourceText.h"
#include "platform/TextFormat.h"

#include <cstdint>

namespace app {

namespace {

constexpr unsigned kTextDate = 62090;
constexpr unsigned kTextSunday = 62000;
constexpr unsigned kTextNoWeekday = 61999;

} // namespace

std::string FormatListDate(const std::tm* local) {
    if (local == nullptr) {
        const std::string none = platform::LoadText(kTextNoWeekday);
        return platform::FormatText(
            platform::LoadText(kTextDate),
            {std::int64_t{0}, std::int64_t{0}, std::int64_t{0}, std::string_view(none)});
    }
    const std::string weekday =
        platform::LoadText(kTextSunday + static_cast<unsigned>(local->tm_wday % 7));
    return platform::FormatText(platform::LoadText(kTextDate),
                                {std::int64_t{local->tm_year} + 1900,
                                 std::int64_t{local->tm_mon} + 1, std::int64_t{local->tm_mday},
                                 std::string_view(weekday)});
}

} // namespace app
