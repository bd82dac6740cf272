// Where a command's -o sends what it makes: a file, saved crash-safely, or
// the standard output for "-", so a script can pipe it on.
//
//     CheckOutput(out, "PDF", false);          // before any work
//     ...
//     return WriteOutput(out, bytes);          // the exit status
#pragma once

#include <string>
#include <string_view>

namespace tool {

bool IsStandardOutput(std::string_view out);

// A usage error when the standard output is a terminal and the format is
// not plain text: a terminal would take its bytes for commands.
void CheckOutput(std::string_view out, std::string_view formatName, bool plainText);

// Writes the bytes; the exit status, after telling why on stderr when they
// could not be written.
int WriteOutput(const std::string& out, std::string_view bytes);

} // namespace tool
