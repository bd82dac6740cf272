#include "tools/Arguments.h"

#include <cerrno>
#include <cstdlib>

namespace tool {

Arguments::Arguments(std::span<const std::string> args, const std::set<std::string>& flags,
                     const std::set<std::string>& valued) {
    bool onlyPositionals = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (onlyPositionals || word.size() < 2 || word[0] != '-') {
            m_positionals.push_back(word);
        } else if (word == "--") {
            onlyPositionals = true;
        } else if (flags.count(word)) {
            m_flags.insert(word);
        } else if (valued.count(word)) {
            if (i + 1 >= args.size())
                throw UsageError(word + " needs a value");
            m_values[word] = args[++i];
        } else {
            throw UsageError("unknown option " + word);
        }
    }
}

std::optional<std::string> Arguments::Value(const std::string& option) const {
    const auto found = m_values.find(option);
    if (found == m_values.end())
        return std::nullopt;
    return found->second;
}

int ParseIntOption(const std::string& option, const std::string& text, int min, int max) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* begin = text.c_str() + (hex ? 2 : 0);
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(begin, &end, hex ? 16 : 10);
    if (text.empty() || *begin == '\0' || *end != '\0' || errno == ERANGE || value < min ||
        value > max)
        throw UsageError(option + " takes a number from " + std::to_string(min) + " to " +
                         std::to_string(max) + ", not \"" + text + "\"");
    return static_cast<int>(value);
}

} // namespace tool
