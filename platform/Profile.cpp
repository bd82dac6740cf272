#include "platform/Profile.h"

#include "platform/Files.h"
#include "platform/ProfileBytes.h"
#include "platform/ProfileText.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>

namespace platform {

namespace {

// Settings files are small; anything larger is not one of ours and is
// treated as missing rather than read into memory.
constexpr std::size_t kMaxProfileBytes = 4 * 1024 * 1024;

std::optional<std::string> FindValue(const std::string& path, std::string_view section,
                                     std::string_view key) {
    const std::optional<std::string> bytes = ReadWholeFile(path, kMaxProfileBytes);
    if (!bytes) {
        return std::nullopt;
    }
    return FindProfileValue(*bytes, section, key);
}

// At most maxChars characters of UTF-8 text, never cutting one in half.
std::string_view CutToCharacters(std::string_view text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<std::uint8_t>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && chars++ == maxChars) {
            return text.substr(0, i);
        }
    }
    return text;
}

} // namespace

std::string GetProfileString(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view def, std::size_t bufferSize) {
    if (bufferSize == 0) {
        return {};
    }
    const std::optional<std::string> value = FindValue(path, section, key);
    return std::string(CutToCharacters(value ? std::string_view(*value) : def, bufferSize - 1));
}

int GetProfileInt(const std::string& path, std::string_view section, std::string_view key,
                  int def) {
    const std::optional<std::string> value = FindValue(path, section, key);
    // An empty value gives the default, as the Windows function does: files
    // carried over from there rely on "Key=" meaning "not set".
    if (!value || value->empty()) {
        return def;
    }
    return ParseProfileInt(*value);
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    std::optional<std::string> bytes = ReadWholeFile(path, kMaxProfileBytes);
    if (!bytes) {
        // A file that exists but cannot be read (or is too large) would be
        // lost if it were replaced by a new one.
        if (FileExists(path)) {
            return false;
        }
        bytes.emplace();
    }
    const std::optional<std::string> updated = SetProfileValue(*bytes, section, key, value);
    return updated && WriteFileAtomic(path, *updated);
}

int ParseProfileInt(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    const bool negative = pos < text.size() && text[pos] == '-';
    if (negative) {
        ++pos;
    }
    // The magnitude stops growing once it is past every int, so a long run
    // of digits cannot overflow it.
    constexpr std::int64_t kCap = std::int64_t{INT_MAX} + 1;
    std::int64_t magnitude = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        magnitude = std::min(magnitude * 10 + (text[pos] - '0'), kCap);
    }
    if (negative) {
        return static_cast<int>(-magnitude);
    }
    return static_cast<int>(std::min<std::int64_t>(magnitude, INT_MAX));
}

} // namespace platform
