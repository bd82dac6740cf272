// INI profile files with the semantics of the Windows profile functions:
// section and key names compared without case, keys and values trimmed, one
// pair of enclosing quotes removed, ';' comment lines, the first match wins,
// a write keeps the rest of the file and appends a missing section. How the
// bytes are decoded and changed is ProfileBytes: UTF-16 files stay UTF-16,
// other files are read line by line as UTF-8 or CP932.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The value of `key`, or `def` when the file, section or key is missing.
// At most bufferSize - 1 characters arrive (a character is never split).
std::string GetProfileString(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view def, std::size_t bufferSize);

// The value read as a decimal number with an optional leading minus sign;
// text that does not start with a number reads as 0; a missing key or an
// empty value gives `def`. Values beyond the int range saturate.
int GetProfileInt(const std::string& path, std::string_view section, std::string_view key, int def);

// Sets `key` in `section`, creating the file or the section when missing.
// The file is replaced crash-safely. False when it cannot be written, when
// an existing file cannot be read (it is left alone), or when the names or
// the value would not read back as given (a line break anywhere, '=' in the
// key or a key starting with ';' or '[', ']' in the section, an empty name).
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

// The integer parsing of GetProfileInt, for callers that hold the text.
int ParseProfileInt(std::string_view text);

} // namespace platform
