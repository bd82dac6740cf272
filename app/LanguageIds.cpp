#include "app/LanguageIds.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace app {

namespace {

// Sorted by id. The first entry of a language is the one a locale name
// with an unknown country maps to.
constexpr LanguageInfo kLanguages[] = {
    {0x0401, "ar_SA", "العربية", 1256},
    {0x0402, "bg_BG", "български", 1251},
    {0x0403, "ca_ES", "català", 1252},
    {0x0404, "zh_TW", "中文(繁體)", 950},
    {0x0405, "cs_CZ", "čeština", 1250},
    {0x0406, "da_DK", "dansk", 1252},
    {0x0407, "de_DE", "Deutsch", 1252},
    {0x0408, "el_GR", "Ελληνικά", 1253},
    {0x0409, "en_US", "English", 1252},
    {0x040A, "es_ES", "Español", 1252},
    {0x040B, "fi_FI", "suomi", 1252},
    {0x040C, "fr_FR", "Français", 1252},
    {0x040D, "he_IL", "עברית", 1255},
    {0x040E, "hu_HU", "magyar", 1250},
    {0x040F, "is_IS", "íslenska", 1252},
    {0x0410, "it_IT", "Italiano", 1252},
    {0x0411, "ja_JP", "日本語", 932},
    {0x0412, "ko_KR", "한국어", 949},
    {0x0413, "nl_NL", "Nederlands", 1252},
    {0x0414, "nb_NO", "norsk (bokmål)", 1252},
    {0x0415, "pl_PL", "polski", 1250},
    {0x0416, "pt_BR", "Português", 1252},
    {0x0418, "ro_RO", "română", 1250},
    {0x0419, "ru_RU", "Русский", 1251},
    {0x041A, "hr_HR", "hrvatski", 1250},
    {0x041B, "sk_SK", "slovenčina", 1250},
    {0x041D, "sv_SE", "svenska", 1252},
    {0x041E, "th_TH", "ไทย", 874},
    {0x041F, "tr_TR", "Türkçe", 1254},
    {0x0420, "ur_PK", "اُردو", 1256},
    {0x0421, "id_ID", "Bahasa Indonesia", 1252},
    {0x0422, "uk_UA", "українська", 1251},
    {0x0424, "sl_SI", "slovenščina", 1250},
    {0x0425, "et_EE", "eesti", 1257},
    {0x0426, "lv_LV", "latviešu", 1257},
    {0x0427, "lt_LT", "lietuvių", 1257},
    {0x0429, "fa_IR", "فارسی", 1256},
    {0x042A, "vi_VN", "Tiếng Việt", 1258},
    {0x0804, "zh_CN", "中文(简体)", 936},
    {0x0807, "de_CH", "Deutsch", 1252},
    {0x0809, "en_GB", "English", 1252},
    {0x080A, "es_MX", "Español", 1252},
    {0x080C, "fr_BE", "Français", 1252},
    {0x0816, "pt_PT", "Português", 1252},
    {0x0C04, "zh_HK", "中文(繁體)", 950},
    {0x0C07, "de_AT", "Deutsch", 1252},
    {0x0C09, "en_AU", "English", 1252},
    {0x0C0A, "es_ES", "Español", 1252},
    {0x0C0C, "fr_CA", "Français", 1252},
    {0x1004, "zh_SG", "中文(简体)", 936},
    {0x1009, "en_CA", "English", 1252},
    {0x100C, "fr_CH", "Français", 1252},
};

constexpr bool IsSortedById() {
    return std::adjacent_find(std::begin(kLanguages), std::end(kLanguages),
                              [](const LanguageInfo& a, const LanguageInfo& b) {
                                  return a.id >= b.id;
                              }) == std::end(kLanguages);
}
static_assert(IsSortedById(), "the language table must stay in id order");

// "ja_JP.UTF-8@x" -> "ja_JP"
std::string_view WithoutCodesetAndModifier(std::string_view name) {
    return name.substr(0, name.find_first_of(".@"));
}

std::string_view LanguagePart(std::string_view name) {
    return name.substr(0, name.find('_'));
}

} // namespace

std::optional<LanguageInfo> FindLanguageInfo(LanguageId id) {
    const auto* found = std::lower_bound(
        std::begin(kLanguages), std::end(kLanguages), id,
        [](const LanguageInfo& info, LanguageId wanted) { return info.id < wanted; });
    if (found == std::end(kLanguages) || found->id != id) {
        return std::nullopt;
    }
    return *found;
}

bool IsRightToLeftLanguage(LanguageId id) {
    switch (PrimaryLanguage(id)) {
    case 1:  // Arabic
    case 13: // Hebrew
    case 32: // Urdu
    case 41: // Farsi
        return true;
    default:
        return false;
    }
}

LanguageId LanguageIdFromLocale(std::string_view localeName) {
    const std::string_view name = WithoutCodesetAndModifier(localeName);
    if (name.empty() || name == "C" || name == "POSIX") {
        return 0;
    }
    // 0x0C0A shares es_ES with 0x040A; the older id, first in the table, wins.
    for (const LanguageInfo& info : kLanguages) {
        if (info.localeName == name) {
            return info.id;
        }
    }
    const std::string_view language = LanguagePart(name);
    for (const LanguageInfo& info : kLanguages) {
        if (LanguagePart(info.localeName) == language) {
            return info.id;
        }
    }
    return 0;
}

LanguageId UserDefaultLanguageId() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return LanguageIdFromLocale(value);
        }
    }
    return 0;
}

} // namespace app
