// Command-line parsing for rhythmora-tool's subcommands: known flags,
// options that take a value, and positional arguments. Anything else is a
// usage error.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace tool {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Arguments {
public:
    // args are the words after the subcommand name.
    Arguments(std::span<const std::string> args, const std::set<std::string>& flags,
              const std::set<std::string>& valued);

    bool Has(const std::string& flag) const { return m_flags.count(flag) != 0; }
    std::optional<std::string> Value(const std::string& option) const;
    const std::vector<std::string>& Positionals() const { return m_positionals; }

private:
    std::set<std::string> m_flags;
    std::map<std::string, std::string> m_values;
    std::vector<std::string> m_positionals;
};

// A whole-string integer in decimal or with a 0x prefix, within
// [min, max]; a usage error naming the option otherwise.
int ParseIntOption(const std::string& option, const std::string& text, int min, int max);

} // namespace tool
