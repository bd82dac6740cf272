// Text from outside (record files, language and settings files, the
// device, file names) made safe to print on a terminal: a control
// character or a byte that is not UTF-8 could move the cursor, retitle the
// window or hide what follows, so each is shown as an escape instead.
//
//     std::cout << TerminalField(record.GetFileName()) << '\n';
//     std::cerr << TerminalMessage(platform::LoadText(id)) << '\n';
#pragma once

#include <string>
#include <string_view>

namespace tool {

// One value on one line: every control character is escaped ("\n", "\t",
// "\x1b", "\u009b"), as are the bidirectional overrides, a byte that is not
// UTF-8 ("\xff") and the backslash itself ("\\"), so the escapes read back
// unambiguously.
std::string TerminalField(std::string_view text);

// A message of one or more lines: line breaks and tabs stay, everything
// else TerminalField escapes is escaped but the backslash.
std::string TerminalMessage(std::string_view text);

} // namespace tool
