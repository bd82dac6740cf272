#include "tools/Arguments.h"

#include "platform/ResourceText.h"
#include "tools/ToolTexts.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace tool {

namespace {

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || c == '-';
}

// Whether the word stands whole in the message.
bool HasWord(std::string_view message, std::string_view word) {
    for (std::size_t at = message.find(word); at != std::string_view::npos;
         at = message.find(word, at + 1)) {
        const std::size_t end = at + word.size();
        if ((at == 0 || !IsNameCharacter(message[at - 1])) &&
            (end == message.size() || !IsNameCharacter(message[end])))
            return true;
    }
    return false;
}

// The declared option a parser error speaks of, named with or without its
// dashes. The longest name wins, so "--situation-text" is not taken for
// "--situation".
std::string OptionInMessage(std::string_view message, const std::vector<std::string>& names) {
    std::string found;
    for (const std::string& name : names) {
        const std::string_view bare = std::string_view(name).substr(name.find_first_not_of('-'));
        if ((HasWord(message, name) || HasWord(message, bare)) && name.size() > found.size())
            found = name;
    }
    return found;
}

} // namespace

UsageError Usage(unsigned textId, std::initializer_list<platform::FormatArg> args) {
    return UsageError(platform::FormatText(platform::LoadText(textId), args));
}

Arguments::Arguments(std::span<const std::string> args, const std::set<std::string>& flags,
                     const std::set<std::string>& valued, const std::set<std::string>& repeated) {
    CLI::App parser;
    // Help is answered before a command parses its arguments.
    parser.set_help_flag();
    // Unknown options are collected and told in the program's own words.
    parser.allow_extras();
    std::map<std::string, bool> given;
    for (const std::string& flag : flags)
        parser.add_flag(flag, given[flag])->disable_flag_override();
    std::vector<std::string> names(flags.begin(), flags.end());
    for (const std::set<std::string>* options : {&valued, &repeated}) {
        for (const std::string& option : *options) {
            // One value per occurrence, every occurrence kept.
            parser.add_option(option, m_values[option])
                ->allow_extra_args(false)
                ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
            names.push_back(option);
        }
    }
    parser.add_option("arguments", m_positionals);

    // CLI11 takes the words last to first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        parser.parse(std::move(reversed));
    } catch (const CLI::ParseError& error) {
        const std::string option = OptionInMessage(error.what(), names);
        if (option.empty())
            throw Usage(kTextArgumentsUnread, {error.what()});
        throw Usage(flags.count(option) ? kTextTakesNoValue : kTextNeedsValue, {option});
    }
    for (const std::string& word : parser.remaining())
        if (word != "--")
            throw Usage(kTextUnknownOption, {word});
    for (const auto& [flag, isGiven] : given)
        if (isGiven)
            m_flags.insert(flag);
    for (const std::string& option : valued)
        if (m_values[option].size() > 1)
            m_values[option].erase(m_values[option].begin(), m_values[option].end() - 1);
}

std::optional<std::string> Arguments::Value(const std::string& option) const {
    const auto found = m_values.find(option);
    if (found == m_values.end() || found->second.empty())
        return std::nullopt;
    return found->second.back();
}

std::vector<std::string> Arguments::Values(const std::string& option) const {
    const auto found = m_values.find(option);
    return found == m_values.end() ? std::vector<std::string>{} : found->second;
}

int ParseIntOption(const std::string& option, const std::string& text, int min, int max) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* begin = text.c_str() + (hex ? 2 : 0);
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(begin, &end, hex ? 16 : 10);
    if (text.empty() || *begin == '\0' || *end != '\0' || errno == ERANGE || value < min ||
        value > max)
        throw Usage(kTextNumberRange, {option, min, max, text});
    return static_cast<int>(value);
}

std::size_t ParseChoice(const std::string& option, const std::string& text,
                        std::initializer_list<std::string_view> choices) {
    std::string list;
    std::size_t index = 0;
    for (const std::string_view choice : choices) {
        if (text == choice)
            return index;
        list += (index++ == 0 ? "" : ", ") + std::string(choice);
    }
    throw Usage(kTextOneOf, {option, list, text});
}

} // namespace tool
