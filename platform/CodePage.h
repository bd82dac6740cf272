// Text conversion between the program's UTF-8 strings and the encodings
// found at its edges: UTF-16LE memo texts, Windows ANSI code pages of
// language and settings files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Windows code page numbers as the files name them (932 Shift-JIS, 1252
// Western, ...). 65001 is UTF-8 and 1200 UTF-16LE.
using CodePage = unsigned;
constexpr CodePage kCodePageUtf8 = 65001;
constexpr CodePage kCodePageUtf16Le = 1200;
constexpr CodePage kCodePageShiftJis = 932;

// Whether iconv on this machine knows the code page.
bool IsCodePageSupported(CodePage cp);

// Strict conversions: nullopt when the input holds a sequence that is not
// valid in its encoding, or when the code page is unknown.
std::optional<std::string> DecodeToUtf8(std::string_view bytes, CodePage from);
std::optional<std::string> EncodeFromUtf8(std::string_view utf8, CodePage to);

// Lenient decoding for untrusted bytes that must still be shown: every
// invalid sequence becomes U+FFFD. A code page iconv does not know keeps its
// ASCII bytes and shows every other byte as U+FFFD.
std::string DecodeToUtf8Lenient(std::string_view bytes, CodePage from);

// UTF-16LE byte strings (2 bytes per code unit, no terminator).
std::string Utf16LeToUtf8(std::string_view utf16le);
std::string Utf8ToUtf16Le(std::string_view utf8);

// Number of UTF-16 code units the UTF-8 text needs.
std::size_t Utf16Length(std::string_view utf8);

bool IsValidUtf8(std::string_view bytes);

struct Utf8Step {
    std::optional<char32_t> cp; // nullopt: an ill-formed sequence
    std::size_t length;         // bytes consumed, at least 1
};

// One character of UTF-8 starting at `pos` (< s.size()). An ill-formed
// sequence consumes its longest valid-looking start (at least one byte), so
// that "E3 81 41" gives one replacement and the 'A' survives.
Utf8Step DecodeUtf8At(std::string_view s, std::size_t pos);

} // namespace platform
