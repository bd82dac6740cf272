// The Windows language ids the program knows, with each language's native
// name and ANSI code page, and the mapping from a POSIX locale name.
// A language file counts as installed when its id is in this table.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace app {

using LanguageId = std::uint16_t;

struct LanguageInfo {
    LanguageId id;
    std::string_view localeName; // "ll_CC" as POSIX locales spell it
    std::string_view nativeName; // UTF-8
    unsigned ansiCodePage;
};

// The table entry of an id, or nullopt for an id this machine treats as
// not installed.
std::optional<LanguageInfo> FindLanguageInfo(LanguageId id);

// The low 10 bits: the language without its country.
constexpr LanguageId PrimaryLanguage(LanguageId id) {
    return static_cast<LanguageId>(id & 0x3FF);
}

// Arabic, Hebrew, Urdu and Farsi are laid out right to left.
bool IsRightToLeftLanguage(LanguageId id);

// The id of a locale name such as "ja_JP.UTF-8" or "de_AT@euro": the exact
// language and country when the table has it, else the language alone.
// 0 for "C", "POSIX", an empty name or a language the table lacks.
LanguageId LanguageIdFromLocale(std::string_view localeName);

// The user's language from LC_ALL, then LC_MESSAGES, then LANG (the first
// one that is set and not empty decides), 0 when it names none.
LanguageId UserDefaultLanguageId();

} // namespace app
