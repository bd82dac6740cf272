#include "platform/Profile.h"

#include "platform/CodePage.h"
#include "platform/Files.h"
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
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct ProfileText {
    std::string text;    // UTF-8, without a byte order mark
    bool hasBom = false; // the file started with a UTF-8 byte order mark
};

std::optional<ProfileText> LoadProfile(const std::string& path) {
    std::optional<std::string> bytes = ReadWholeFile(path, kMaxProfileBytes);
    if (!bytes) {
        return std::nullopt;
    }
    if (!IsValidUtf8(*bytes)) {
        return ProfileText{DecodeToUtf8Lenient(*bytes, kCodePageShiftJis), false};
    }
    if (bytes->starts_with(kUtf8Bom)) {
        return ProfileText{bytes->substr(kUtf8Bom.size()), true};
    }
    return ProfileText{std::move(*bytes), false};
}

enum class LineKind { Other, Section, Key };

struct ProfileLine {
    std::size_t begin = 0;      // first byte of the line in the text
    std::size_t end = 0;        // end of its content, before "\n" or "\r\n"
    std::size_t valueBegin = 0; // first byte after '=' and its blanks of a key line
    LineKind kind = LineKind::Other;
    std::string_view name;  // trimmed section or key name
    std::string_view value; // raw text after '=' of a key line
};

ProfileLine ClassifyLine(std::string_view text, std::size_t begin, std::size_t end) {
    ProfileLine line;
    line.begin = begin;
    line.end = end;
    const std::string_view raw = text.substr(begin, end - begin);
    const std::string_view content = TrimBlanks(raw);
    if (content.empty() || content.front() == ';') {
        return line;
    }
    if (content.front() == '[') {
        const std::string_view inner = content.substr(1);
        line.kind = LineKind::Section;
        line.name = TrimBlanks(inner.substr(0, inner.find(']')));
        return line;
    }
    const std::size_t equals = raw.find('=');
    if (equals == std::string_view::npos) {
        return line;
    }
    line.kind = LineKind::Key;
    line.name = TrimBlanks(raw.substr(0, equals));
    line.value = raw.substr(equals + 1);
    const std::size_t firstNonBlank = line.value.find_first_not_of(" \t");
    line.valueBegin =
        begin + equals + 1 + (firstNonBlank == std::string_view::npos ? 0 : firstNonBlank);
    return line;
}

// Walks the lines of a profile text; a last line without a line break
// counts, an empty text has no lines.
class CLineReader {
public:
    explicit CLineReader(std::string_view text) : m_strText(text) {}

    std::optional<ProfileLine> Next() {
        if (m_nPos >= m_strText.size()) {
            return std::nullopt;
        }
        const std::size_t begin = m_nPos;
        const std::size_t newline = m_strText.find('\n', begin);
        std::size_t end = newline == std::string_view::npos ? m_strText.size() : newline;
        m_nPos = newline == std::string_view::npos ? m_strText.size() : newline + 1;
        if (end > begin && m_strText[end - 1] == '\r') {
            --end;
        }
        return ClassifyLine(m_strText, begin, end);
    }

private:
    std::string_view m_strText;
    std::size_t m_nPos = 0;
};

struct KeyMatch {
    std::optional<ProfileLine> section; // header of the first matching section
    std::optional<ProfileLine> key;     // first matching key line in it
    std::optional<ProfileLine> lastKey; // last key line of that section
};

// Only the first section of a name counts, even when the name comes again
// further down: a key that only a later duplicate holds is not found.
KeyMatch FindKey(std::string_view text, std::string_view section, std::string_view key) {
    KeyMatch match;
    CLineReader reader(text);
    while (const std::optional<ProfileLine> line = reader.Next()) {
        if (line->kind == LineKind::Section) {
            if (match.section) {
                break;
            }
            if (EqualsNoCase(line->name, section)) {
                match.section = line;
            }
        } else if (line->kind == LineKind::Key && match.section) {
            match.lastKey = line;
            if (!match.key && EqualsNoCase(line->name, key)) {
                match.key = line;
            }
        }
    }
    return match;
}

std::optional<std::string> FindValue(const std::string& path, std::string_view section,
                                     std::string_view key) {
    const std::optional<ProfileText> profile = LoadProfile(path);
    if (!profile) {
        return std::nullopt;
    }
    const KeyMatch match = FindKey(profile->text, TrimBlanks(section), TrimBlanks(key));
    if (!match.key) {
        return std::nullopt;
    }
    return std::string(Unquote(TrimBlanks(match.key->value)));
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

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// Names that would read back as something else, or split the line, are
// refused instead of written.
bool IsWritableSection(std::string_view section) {
    return !section.empty() && !HasLineBreak(section) &&
           section.find(']') == std::string_view::npos;
}

bool IsWritableKey(std::string_view key) {
    return !key.empty() && !HasLineBreak(key) && key.find('=') == std::string_view::npos &&
           key.front() != ';' && key.front() != '[';
}

bool UsesCrLf(std::string_view text) {
    const std::size_t newline = text.find('\n');
    return newline != std::string_view::npos && newline > 0 && text[newline - 1] == '\r';
}

bool EndsInBlankLine(std::string_view text) {
    if (!text.ends_with('\n')) {
        return false;
    }
    text.remove_suffix(1);
    if (text.ends_with('\r')) {
        text.remove_suffix(1);
    }
    const std::size_t newline = text.rfind('\n');
    const std::string_view lastLine =
        newline == std::string_view::npos ? text : text.substr(newline + 1);
    return TrimBlanks(lastLine).empty();
}

std::string UpdatedText(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
    const std::string_view eol = UsesCrLf(text) ? "\r\n" : "\n";
    const KeyMatch match = FindKey(text, section, key);
    std::string updated;
    updated.reserve(text.size() + section.size() + key.size() + value.size() + 8);
    if (match.key) {
        // The key and the spacing around '=' stay as the user wrote them.
        updated.append(text.substr(0, match.key->valueBegin));
        updated.append(value);
        updated.append(text.substr(match.key->end));
        return updated;
    }
    if (match.section) {
        const std::size_t anchor = match.lastKey ? match.lastKey->end : match.section->end;
        updated.append(text.substr(0, anchor));
        updated.append(eol);
        updated.append(key);
        updated += '=';
        updated.append(value);
        updated.append(text.substr(anchor));
        return updated;
    }
    updated.append(text);
    if (!updated.empty()) {
        if (!updated.ends_with('\n')) {
            updated.append(eol);
        }
        if (!EndsInBlankLine(updated)) {
            updated.append(eol);
        }
    }
    updated += '[';
    updated.append(section);
    updated += ']';
    updated.append(eol);
    updated.append(key);
    updated += '=';
    updated.append(value);
    updated.append(eol);
    return updated;
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
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    if (!IsWritableSection(section) || !IsWritableKey(key) || HasLineBreak(value)) {
        return false;
    }
    std::optional<ProfileText> profile = LoadProfile(path);
    if (!profile) {
        // A file that exists but cannot be read (or is too large) would be
        // lost if it were replaced by a new one.
        if (FileExists(path)) {
            return false;
        }
        profile = ProfileText{};
    }
    std::string bytes = profile->hasBom ? std::string(kUtf8Bom) : std::string();
    bytes.append(UpdatedText(profile->text, section, key, value));
    return WriteFileAtomic(path, bytes);
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
