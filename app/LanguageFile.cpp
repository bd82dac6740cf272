#include "app/LanguageFile.h"

#include "platform/Files.h"
#include "platform/ProfileText.h"

#include <algorithm>

namespace app {

using platform::EqualsNoCase;
using platform::TrimBlanks;
using platform::Unquote;

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// \a \b \f \n \r \t \v and the control characters they stand for.
constexpr std::string_view kEscapeLetters = "abfnrtv";
constexpr std::string_view kEscapeControls = "\a\b\f\n\r\t\v";

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

CLanguageFile CLanguageFile::FromBytes(std::string_view bytes, platform::CodePage codePage) {
    if (bytes.starts_with(kUtf8Bom)) {
        return Parse(
            platform::DecodeToUtf8Lenient(bytes.substr(kUtf8Bom.size()), platform::kCodePageUtf8));
    }
    return Parse(platform::DecodeToUtf8Lenient(bytes, codePage));
}

std::optional<CLanguageFile> CLanguageFile::Read(const std::string& path,
                                                 platform::CodePage codePage) {
    const std::optional<std::string> bytes = platform::ReadWholeFile(path, kMaxFileBytes);
    if (!bytes) {
        return std::nullopt;
    }
    return FromBytes(*bytes, codePage);
}

std::optional<std::string> CLanguageFile::ReadLanguageIdText(const std::string& path) {
    // Windows-1252 keeps every ASCII byte and decodes any byte, so lines,
    // section names and the ASCII key read the same as in the real code page.
    const std::optional<CLanguageFile> file = Read(path, 1252);
    if (!file) {
        return std::nullopt;
    }
    return file->Value("Info", "LanguageID");
}

std::string CLanguageFile::Value(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return {};
    }
    for (const Key& entry : found->keys) {
        if (EqualsNoCase(entry.name, key)) {
            return entry.value;
        }
    }
    return {};
}

CLanguageFile CLanguageFile::Parse(std::string_view text) {
    CLanguageFile file;
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t newline = text.find('\n', pos);
        std::string_view line = text.substr(
            pos, newline == std::string_view::npos ? std::string_view::npos : newline - pos);
        pos = newline == std::string_view::npos ? text.size() : newline + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const std::string_view content = TrimBlanks(line);
        if (content.empty() || content.front() == ';') {
            continue;
        }
        if (content.front() == '[') {
            const std::string_view inner = content.substr(1);
            const std::string_view name = TrimBlanks(inner.substr(0, inner.find(']')));
            // A later section of the same name is never consulted.
            current = file.FindSection(name) == nullptr
                          ? &file.m_sections.emplace_back(Section{std::string(name), {}})
                          : nullptr;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (current == nullptr || equals == std::string_view::npos) {
            continue;
        }
        current->keys.push_back(Key{std::string(TrimBlanks(line.substr(0, equals))),
                                    std::string(Unquote(TrimBlanks(line.substr(equals + 1))))});
    }
    return file;
}

const CLanguageFile::Section* CLanguageFile::FindSection(std::string_view name) const {
    const auto found = std::find_if(m_sections.begin(), m_sections.end(),
                                    [&](const Section& s) { return EqualsNoCase(s.name, name); });
    return found == m_sections.end() ? nullptr : &*found;
}

std::uint16_t ParseLanguageIdText(std::string_view text) {
    if (!text.starts_with('$')) {
        return 0;
    }
    std::uint16_t id = 0;
    for (const char c : text.substr(1)) {
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            break;
        }
        id = static_cast<std::uint16_t>((id << 4) | digit);
    }
    return id;
}

std::string DecodeEscapes(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            decoded += text[i];
            continue;
        }
        const char next = text[++i];
        const std::size_t letter = kEscapeLetters.find(next);
        decoded += letter == std::string_view::npos ? next : kEscapeControls[letter];
    }
    return decoded;
}

std::string FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t characters = 0; end < text.size() && characters < count; ++characters) {
        ++end;
        while (end < text.size() && IsUtf8Continuation(text[end])) {
            ++end;
        }
    }
    return std::string(text.substr(0, end));
}

} // namespace app
