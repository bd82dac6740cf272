#include "platform/CodePage.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <utility>

namespace platform {

namespace {

constexpr char32_t kReplacementChar = 0xFFFD;
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

// The Windows ANSI code pages the program meets. UTF-8 and UTF-16LE are
// converted here directly, so that their invalid sequences are replaced
// exactly as the lenient rules say rather than as iconv chooses.
const char* IconvName(CodePage cp) {
    static constexpr std::array<std::pair<CodePage, const char*>, 14> kNames{{
        {874, "CP874"},
        {932, "CP932"},
        {936, "CP936"},
        {949, "CP949"},
        {950, "CP950"},
        {1250, "CP1250"},
        {1251, "CP1251"},
        {1252, "CP1252"},
        {1253, "CP1253"},
        {1254, "CP1254"},
        {1255, "CP1255"},
        {1256, "CP1256"},
        {1257, "CP1257"},
        {1258, "CP1258"},
    }};
    for (const auto& [number, name] : kNames) {
        if (number == cp) {
            return name;
        }
    }
    return nullptr;
}

class CIconv {
public:
    CIconv(const char* to, const char* from) : m_hIconv(iconv_open(to, from)) {}
    ~CIconv() {
        if (IsOpen()) {
            iconv_close(m_hIconv);
        }
    }
    CIconv(const CIconv&) = delete;
    CIconv& operator=(const CIconv&) = delete;

    bool IsOpen() const { return m_hIconv != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return m_hIconv; }

private:
    iconv_t m_hIconv;
};

// Runs `in` through iconv. With an empty `replacement` any invalid input
// fails the conversion; otherwise each byte that starts an invalid sequence
// is replaced (already encoded in the target encoding) and conversion goes on.
std::optional<std::string> ConvertWithIconv(std::string_view in, const char* to, const char* from,
                                            std::string_view replacement) {
    CIconv cd(to, from);
    if (!cd.IsOpen()) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(in.size() * 2);
    std::array<char, 4096> buffer;
    // iconv takes a non-const input pointer but never writes through it.
    char* pIn = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    while (inLeft > 0) {
        char* pOut = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t result = iconv(cd.Get(), &pIn, &inLeft, &pOut, &outLeft);
        const int error = errno;
        out.append(buffer.data(), static_cast<std::size_t>(pOut - buffer.data()));
        if (result != static_cast<std::size_t>(-1)) {
            break;
        }
        if (error == E2BIG) {
            continue;
        }
        if ((error != EILSEQ && error != EINVAL) || replacement.empty()) {
            return std::nullopt;
        }
        out.append(replacement);
        if (error == EINVAL) {
            // A sequence cut off by the end of the input: nothing follows it.
            break;
        }
        ++pIn;
        --inLeft;
        iconv(cd.Get(), nullptr, nullptr, nullptr, nullptr);
    }
    char* pOut = buffer.data();
    std::size_t outLeft = buffer.size();
    if (iconv(cd.Get(), nullptr, nullptr, &pOut, &outLeft) == static_cast<std::size_t>(-1)) {
        return std::nullopt;
    }
    out.append(buffer.data(), static_cast<std::size_t>(pOut - buffer.data()));
    return out;
}

} // namespace

Utf8Step DecodeUtf8At(std::string_view s, std::size_t pos) {
    const auto lead = static_cast<std::uint8_t>(s[pos]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t trailing = 0;
    char32_t cp = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trailing = 1;
        cp = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trailing = 2;
        cp = lead & 0x0Fu;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trailing = 3;
        cp = lead & 0x07u;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    } else {
        return {std::nullopt, 1};
    }
    for (std::size_t i = 1; i <= trailing; ++i) {
        if (pos + i >= s.size()) {
            return {std::nullopt, i};
        }
        const auto byte = static_cast<std::uint8_t>(s[pos + i]);
        if (byte < low || byte > high) {
            return {std::nullopt, i};
        }
        low = 0x80;
        high = 0xBF;
        cp = (cp << 6) | (byte & 0x3Fu);
    }
    return {cp, trailing + 1};
}

namespace {

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::uint16_t ReadUnitLe(std::string_view bytes, std::size_t pos) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[pos]) |
                                      (static_cast<std::uint8_t>(bytes[pos + 1]) << 8));
}

void AppendUnitLe(std::string& out, std::uint16_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

void AppendUtf16Le(std::string& out, char32_t cp) {
    if (cp < 0x10000) {
        AppendUnitLe(out, static_cast<std::uint16_t>(cp));
        return;
    }
    const char32_t offset = cp - 0x10000;
    AppendUnitLe(out, static_cast<std::uint16_t>(0xD800 + (offset >> 10)));
    AppendUnitLe(out, static_cast<std::uint16_t>(0xDC00 + (offset & 0x3FF)));
}

bool IsHighSurrogate(std::uint16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(std::uint16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Decodes UTF-16LE into `out`, replacing lone surrogates and an odd
// trailing byte. True when nothing had to be replaced.
bool DecodeUtf16Le(std::string_view bytes, std::string& out) {
    bool clean = true;
    out.reserve(out.size() + bytes.size());
    std::size_t pos = 0;
    while (pos + 1 < bytes.size()) {
        const std::uint16_t unit = ReadUnitLe(bytes, pos);
        pos += 2;
        if (IsHighSurrogate(unit) && pos + 1 < bytes.size() &&
            IsLowSurrogate(ReadUnitLe(bytes, pos))) {
            const std::uint16_t low = ReadUnitLe(bytes, pos);
            pos += 2;
            AppendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (low - 0xDC00));
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(out, kReplacementChar);
            clean = false;
        } else {
            AppendUtf8(out, unit);
        }
    }
    if (pos < bytes.size()) {
        AppendUtf8(out, kReplacementChar);
        clean = false;
    }
    return clean;
}

std::string DecodeUtf8Lenient(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        const Utf8Step step = DecodeUtf8At(bytes, pos);
        if (step.cp) {
            out.append(bytes.substr(pos, step.length));
        } else {
            out.append(kReplacementUtf8);
        }
        pos += step.length;
    }
    return out;
}

// Every ANSI code page agrees on ASCII, so that much of a text in an
// unknown code page can still be shown.
std::string DecodeAsciiLenient(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        if (static_cast<std::uint8_t>(c) < 0x80) {
            out += c;
        } else {
            out.append(kReplacementUtf8);
        }
    }
    return out;
}

} // namespace

bool IsCodePageSupported(CodePage cp) {
    if (cp == kCodePageUtf8 || cp == kCodePageUtf16Le) {
        return true;
    }
    const char* name = IconvName(cp);
    return name != nullptr && CIconv("UTF-8", name).IsOpen();
}

std::optional<std::string> DecodeToUtf8(std::string_view bytes, CodePage from) {
    if (from == kCodePageUtf8) {
        return IsValidUtf8(bytes) ? std::optional<std::string>(bytes) : std::nullopt;
    }
    if (from == kCodePageUtf16Le) {
        std::string out;
        return DecodeUtf16Le(bytes, out) ? std::optional<std::string>(std::move(out))
                                         : std::nullopt;
    }
    const char* name = IconvName(from);
    if (name == nullptr) {
        return std::nullopt;
    }
    return ConvertWithIconv(bytes, "UTF-8", name, {});
}

std::optional<std::string> EncodeFromUtf8(std::string_view utf8, CodePage to) {
    if (!IsValidUtf8(utf8)) {
        return std::nullopt;
    }
    if (to == kCodePageUtf8) {
        return std::string(utf8);
    }
    if (to == kCodePageUtf16Le) {
        return Utf8ToUtf16Le(utf8);
    }
    const char* name = IconvName(to);
    if (name == nullptr) {
        return std::nullopt;
    }
    return ConvertWithIconv(utf8, name, "UTF-8", {});
}

std::string DecodeToUtf8Lenient(std::string_view bytes, CodePage from) {
    if (from == kCodePageUtf8) {
        return DecodeUtf8Lenient(bytes);
    }
    if (from == kCodePageUtf16Le) {
        return Utf16LeToUtf8(bytes);
    }
    if (const char* name = IconvName(from)) {
        if (auto text = ConvertWithIconv(bytes, "UTF-8", name, kReplacementUtf8)) {
            return std::move(*text);
        }
    }
    return DecodeAsciiLenient(bytes);
}

std::string Utf16LeToUtf8(std::string_view utf16le) {
    std::string out;
    DecodeUtf16Le(utf16le, out);
    return out;
}

std::string Utf8ToUtf16Le(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() * 2);
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Utf8Step step = DecodeUtf8At(utf8, pos);
        AppendUtf16Le(out, step.cp.value_or(kReplacementChar));
        pos += step.length;
    }
    return out;
}

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Utf8Step step = DecodeUtf8At(utf8, pos);
        units += step.cp.value_or(kReplacementChar) > 0xFFFF ? 2 : 1;
        pos += step.length;
    }
    return units;
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        const Utf8Step step = DecodeUtf8At(bytes, pos);
        if (!step.cp) {
            return false;
        }
        pos += step.length;
    }
    return true;
}

} // namespace platform
