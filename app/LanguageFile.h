// One interface language file in memory: its bytes decoded to UTF-8 and
// read with the profile rules (names without case, trimmed, one pair of
// quotes removed, ';' comments, the first section and key of a name win).
#pragma once

#include "platform/CodePage.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

class CLanguageFile {
public:
    // Files larger than this are not language files and read as empty.
    static constexpr std::size_t kMaxFileBytes = 4 * 1024 * 1024;

    CLanguageFile() = default;

    // Bytes that start with a UTF-8 byte order mark are UTF-8; any other
    // bytes are in `codePage`. Invalid sequences become U+FFFD.
    static CLanguageFile FromBytes(std::string_view bytes, platform::CodePage codePage);
    // nullopt when the file cannot be read (or is too large).
    static std::optional<CLanguageFile> Read(const std::string& path, platform::CodePage codePage);
    // The "Info"/"LanguageID" of a file, which must be read before its code
    // page is known; the key and its value are plain ASCII in any code page.
    static std::optional<std::string> ReadLanguageIdText(const std::string& path);

    // The value, or "" when the section or key is missing.
    std::string Value(std::string_view section, std::string_view key) const;

private:
    struct Key {
        std::string name;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Key> keys;
    };

    static CLanguageFile Parse(std::string_view text);
    const Section* FindSection(std::string_view name) const;

    std::vector<Section> m_sections;
};

// "$" and hexadecimal digits, accumulated into 16 bits up to the first
// other character; 0 without the leading "$".
std::uint16_t ParseLanguageIdText(std::string_view text);

// Backslash escapes of a value: \a \b \f \n \r \t \v are control
// characters, a backslash before any other character stands for that
// character. The text is UTF-8, so no byte of a multi-byte character can be
// taken for a backslash.
std::string DecodeEscapes(std::string_view text);

// At most `count` characters of UTF-8 text (a character is never split).
std::string FirstCharacters(std::string_view text, std::size_t count);

} // namespace app
