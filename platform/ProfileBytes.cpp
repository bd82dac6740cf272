#include "platform/ProfileBytes.h"

#include "platform/CodePage.h"
#include "platform/ProfileText.h"

#include <cstdint>
#include <vector>

namespace platform {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

enum class Encoding { Bytes, Utf16Le, Utf16Be };
enum class LineKind { Other, Section, Key };

struct ProfileLine {
    std::size_t begin = 0; // first byte of the content in the file
    std::size_t end = 0;   // end of the content, before "\r\n" or "\n"
    bool terminated = false;
    bool crlf = false;
    std::string text; // the content as UTF-8
    LineKind kind = LineKind::Other;
    std::string name;           // trimmed section or key name
    std::string value;          // raw text after '=' of a key line
    std::size_t valueBegin = 0; // in `text`: after '=' and its blanks
};

void Classify(ProfileLine& line) {
    const std::string_view raw = line.text;
    const std::string_view content = TrimBlanks(raw);
    if (content.empty() || content.front() == ';') {
        return;
    }
    if (content.front() == '[') {
        const std::string_view inner = content.substr(1);
        line.kind = LineKind::Section;
        line.name = TrimBlanks(inner.substr(0, inner.find(']')));
        return;
    }
    const std::size_t equals = raw.find('=');
    if (equals == std::string_view::npos) {
        return;
    }
    line.kind = LineKind::Key;
    line.name = TrimBlanks(raw.substr(0, equals));
    const std::string_view value = raw.substr(equals + 1);
    line.value = value;
    const std::size_t firstNonBlank = value.find_first_not_of(" \t");
    line.valueBegin = equals + 1 + (firstNonBlank == std::string_view::npos ? 0 : firstNonBlank);
}

// A settings file split into lines, each decoded on its own.
class CProfileFile {
public:
    explicit CProfileFile(std::string_view bytes) : m_bytes(bytes) {
        if (bytes.starts_with(kUtf16LeBom) || bytes.starts_with(kUtf16BeBom)) {
            m_encoding = bytes.starts_with(kUtf16LeBom) ? Encoding::Utf16Le : Encoding::Utf16Be;
            m_nBodyBegin = 2;
            // A last odd byte is no code unit; it stays where it is.
            m_nBodyEnd = m_nBodyBegin + (bytes.size() - m_nBodyBegin) / 2 * 2;
        } else {
            m_nBodyBegin = bytes.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
            m_nBodyEnd = bytes.size();
        }
        Split();
    }

    const std::vector<ProfileLine>& Lines() const { return m_lines; }
    std::string_view Bytes() const { return m_bytes; }
    std::size_t BodyEnd() const { return m_nBodyEnd; }

    // UTF-8 text in the file's own form.
    std::string Encode(std::string_view utf8) const {
        if (m_encoding == Encoding::Bytes) {
            return std::string(utf8);
        }
        std::string units = Utf8ToUtf16Le(utf8);
        return m_encoding == Encoding::Utf16Be ? Swapped(units) : units;
    }

    std::string_view Eol() const {
        return !m_lines.empty() && m_lines.front().crlf ? "\r\n" : "\n";
    }

private:
    static std::string Swapped(std::string units) {
        for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
            std::swap(units[i], units[i + 1]);
        }
        return units;
    }

    std::size_t Width() const { return m_encoding == Encoding::Bytes ? 1 : 2; }

    std::uint16_t UnitAt(std::size_t at) const {
        const auto b0 = static_cast<std::uint8_t>(m_bytes[at]);
        if (m_encoding == Encoding::Bytes) {
            return b0;
        }
        const auto b1 = static_cast<std::uint8_t>(m_bytes[at + 1]);
        return m_encoding == Encoding::Utf16Le ? static_cast<std::uint16_t>(b0 | b1 << 8)
                                               : static_cast<std::uint16_t>(b1 | b0 << 8);
    }

    std::string Decode(std::string_view content) const {
        switch (m_encoding) {
        case Encoding::Utf16Le:
            return Utf16LeToUtf8(content);
        case Encoding::Utf16Be:
            return Utf16LeToUtf8(Swapped(std::string(content)));
        case Encoding::Bytes:
            break;
        }
        return IsValidUtf8(content) ? std::string(content)
                                    : DecodeToUtf8Lenient(content, kCodePageShiftJis);
    }

    void Split() {
        const std::size_t width = Width();
        std::size_t pos = m_nBodyBegin;
        while (pos < m_nBodyEnd) {
            ProfileLine line;
            line.begin = pos;
            std::size_t at = pos;
            while (at < m_nBodyEnd && UnitAt(at) != '\n') {
                at += width;
            }
            line.terminated = at < m_nBodyEnd;
            line.end = at;
            if (line.end > line.begin && UnitAt(line.end - width) == '\r') {
                line.end -= width;
                line.crlf = line.terminated;
            }
            pos = line.terminated ? at + width : at;
            line.text = Decode(m_bytes.substr(line.begin, line.end - line.begin));
            Classify(line);
            m_lines.push_back(std::move(line));
        }
    }

    std::string_view m_bytes;
    Encoding m_encoding = Encoding::Bytes;
    std::size_t m_nBodyBegin = 0;
    std::size_t m_nBodyEnd = 0;
    std::vector<ProfileLine> m_lines;
};

struct KeyMatch {
    const ProfileLine* section = nullptr; // header of the first matching section
    const ProfileLine* key = nullptr;     // first matching key line in it
    const ProfileLine* lastKey = nullptr; // last key line of that section
};

// Only the first section of a name counts, even when the name comes again
// further down: a key that only a later duplicate holds is not found.
KeyMatch FindKey(const CProfileFile& file, std::string_view section, std::string_view key) {
    KeyMatch match;
    for (const ProfileLine& line : file.Lines()) {
        if (line.kind == LineKind::Section) {
            if (match.section != nullptr) {
                break;
            }
            if (EqualsNoCase(line.name, section)) {
                match.section = &line;
            }
        } else if (line.kind == LineKind::Key && match.section != nullptr) {
            match.lastKey = &line;
            if (match.key == nullptr && EqualsNoCase(line.name, key)) {
                match.key = &line;
            }
        }
    }
    return match;
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

} // namespace

std::optional<std::string> FindProfileValue(std::string_view file, std::string_view section,
                                            std::string_view key) {
    const CProfileFile profile(file);
    const KeyMatch match = FindKey(profile, TrimBlanks(section), TrimBlanks(key));
    if (match.key == nullptr) {
        return std::nullopt;
    }
    return std::string(Unquote(TrimBlanks(match.key->value)));
}

std::optional<std::string> SetProfileValue(std::string_view file, std::string_view section,
                                           std::string_view key, std::string_view value) {
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    if (!IsWritableSection(section) || !IsWritableKey(key) || HasLineBreak(value)) {
        return std::nullopt;
    }
    const CProfileFile profile(file);
    const std::string_view bytes = profile.Bytes();
    const std::string eol(profile.Eol());
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    const KeyMatch match = FindKey(profile, section, key);
    std::string updated;
    if (match.key != nullptr) {
        // The key and the spacing around '=' stay as the user wrote them.
        const ProfileLine& line = *match.key;
        updated.append(bytes.substr(0, line.begin));
        updated.append(profile.Encode(line.text.substr(0, line.valueBegin) + std::string(value)));
        updated.append(bytes.substr(line.end));
        return updated;
    }
    if (match.section != nullptr) {
        const ProfileLine& anchor = match.lastKey != nullptr ? *match.lastKey : *match.section;
        updated.append(bytes.substr(0, anchor.end));
        updated.append(profile.Encode(eol + keyLine));
        updated.append(bytes.substr(anchor.end));
        return updated;
    }
    updated.append(bytes.substr(0, profile.BodyEnd()));
    std::string added;
    if (!profile.Lines().empty()) {
        const ProfileLine& last = profile.Lines().back();
        if (!last.terminated) {
            added += eol;
        }
        if (!TrimBlanks(last.text).empty()) {
            added += eol;
        }
    }
    added += "[" + std::string(section) + "]" + eol + keyLine + eol;
    updated.append(profile.Encode(added));
    updated.append(bytes.substr(profile.BodyEnd()));
    return updated;
}

} // namespace platform
