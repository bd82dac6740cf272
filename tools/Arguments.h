// Command-line parsing for rhythmora-tool's subcommands, on CLI11: flags,
// options that take a value (`--opt value`, `--opt=value`, `-o value`,
// `-ovalue`; the last one given counts), options that may be given again
// for several values, and the positional arguments; "--" ends the options.
// Anything else is a usage error, told in the interface language.
#pragma once

#include "platform/TextFormat.h"

#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tool {

// A usage error: its text is in the interface language already.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The usage error told by a string id's text, formatted with the arguments.
UsageError Usage(unsigned textId, std::initializer_list<platform::FormatArg> args = {});

class Arguments {
public:
    // args are the words after the subcommand name; `repeated` are valued
    // options whose every occurrence is kept.
    Arguments(std::span<const std::string> args, const std::set<std::string>& flags,
              const std::set<std::string>& valued, const std::set<std::string>& repeated = {});

    bool Has(const std::string& flag) const { return m_flags.count(flag) != 0; }
    // The value given last.
    std::optional<std::string> Value(const std::string& option) const;
    // Every value given, in order.
    std::vector<std::string> Values(const std::string& option) const;
    const std::vector<std::string>& Positionals() const { return m_positionals; }

private:
    std::set<std::string> m_flags;
    std::map<std::string, std::vector<std::string>> m_values;
    std::vector<std::string> m_positionals;
};

// A whole-string integer in decimal or with a 0x prefix, within
// [min, max]; a usage error naming the option otherwise.
int ParseIntOption(const std::string& option, const std::string& text, int min, int max);

// The index of the choice the text names; a usage error listing the
// choices otherwise.
std::size_t ParseChoice(const std::string& option, const std::string& text,
                        std::initializer_list<std::string_view> choices);

} // namespace tool
