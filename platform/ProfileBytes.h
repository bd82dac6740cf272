// The INI profile rules over the bytes of a file, without touching the
// disk: what a key reads as, and the bytes after a key is set.
//
// A file that starts with a UTF-16 byte order mark (as Windows editors save
// it) is UTF-16 throughout and stays so. Any other file is taken line by
// line: a line that is valid UTF-8 is UTF-8, any other line CP932, so one
// stray byte never changes how the rest of the file reads. A write changes
// only the line it sets (or adds one line, or a section at the end) and
// keeps every other byte, line ends and byte order mark included; what it
// writes is UTF-8, or UTF-16 in a UTF-16 file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The value of `key` in the first section named `section` (names without
// case, blanks trimmed, one pair of quotes removed), as UTF-8; nullopt
// when the section or the key is missing.
std::optional<std::string> FindProfileValue(std::string_view file, std::string_view section,
                                            std::string_view key);

// The file with `key` set to `value` (UTF-8), the section appended when
// missing. nullopt when the names or the value would not read back as
// given: a line break anywhere, '=' in the key or a key starting with ';'
// or '[', ']' in the section, an empty name.
std::optional<std::string> SetProfileValue(std::string_view file, std::string_view section,
                                           std::string_view key, std::string_view value);

} // namespace platform
