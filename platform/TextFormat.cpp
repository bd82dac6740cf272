#include "platform/TextFormat.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace platform {

namespace {

struct Spec {
    std::string flags;
    int width = -1;
    int precision = -1;
    char conversion = 0;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a bounded number so that a huge width in a file cannot ask for
// gigabytes of padding.
int ReadNumber(std::string_view format, std::size_t& i) {
    int value = 0;
    while (i < format.size() && IsDigit(format[i])) {
        if (value < 1000)
            value = value * 10 + (format[i] - '0');
        ++i;
    }
    return value > 999 ? 999 : value;
}

// Parses the conversion that starts after a '%' at i; conversion 0 when the
// text ends or the letter is unknown (that letter is dropped with it).
Spec ParseSpec(std::string_view format, std::size_t& i) {
    Spec spec;
    while (i < format.size() && std::string_view("-0+ #").find(format[i]) != std::string_view::npos)
        spec.flags += format[i++];
    if (i < format.size() && IsDigit(format[i]))
        spec.width = ReadNumber(format, i);
    if (i < format.size() && format[i] == '.') {
        ++i;
        spec.precision = ReadNumber(format, i);
    }
    while (i < format.size() &&
           std::string_view("hlLqjzt").find(format[i]) != std::string_view::npos)
        ++i;
    if (i < format.size()) {
        const char letter = format[i++];
        if (std::string_view("diuxXcs").find(letter) != std::string_view::npos)
            spec.conversion = letter;
    }
    return spec;
}

std::string Pad(std::string text, const Spec& spec) {
    if (spec.width < 0 || static_cast<int>(text.size()) >= spec.width)
        return text;
    const std::size_t fill = static_cast<std::size_t>(spec.width) - text.size();
    if (spec.flags.find('-') != std::string::npos)
        return text + std::string(fill, ' ');
    return std::string(fill, ' ') + text;
}

std::string FormatNumber(std::int64_t value, const Spec& spec) {
    std::string printfSpec = "%" + spec.flags;
    if (spec.width >= 0)
        printfSpec += std::to_string(spec.width);
    if (spec.precision >= 0)
        printfSpec += "." + std::to_string(spec.precision);
    char conversion = spec.conversion;
    if (conversion == 's' || conversion == 'c' || conversion == 'i')
        conversion = 'd';
    printfSpec += "ll";
    printfSpec += conversion;
    char buffer[1100];
    const int n =
        std::snprintf(buffer, sizeof buffer, printfSpec.c_str(), static_cast<long long>(value));
    return n > 0 ? std::string(buffer, std::min<std::size_t>(n, sizeof buffer - 1)) : "";
}

std::string FormatString(std::string_view value, const Spec& spec) {
    std::string text(value);
    if (spec.precision >= 0 && static_cast<std::size_t>(spec.precision) < text.size()) {
        // Cut at a character boundary: a precision counts bytes in printf,
        // but half a character is never what a translator meant.
        std::size_t cut = static_cast<std::size_t>(spec.precision);
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
        text.resize(cut);
    }
    return Pad(std::move(text), spec);
}

} // namespace

std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args) {
    std::string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size();) {
        if (format[i] != '%') {
            out += format[i++];
            continue;
        }
        ++i;
        if (i < format.size() && format[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        const Spec spec = ParseSpec(format, i);
        if (spec.conversion == 0 || next == args.end())
            continue;
        const FormatArg& arg = *next++;
        if (const auto* number = std::get_if<std::int64_t>(&arg)) {
            out += spec.conversion == 'c' && *number > 0 && *number < 0x80
                       ? Pad(std::string(1, static_cast<char>(*number)), spec)
                       : FormatNumber(*number, spec);
        } else {
            out += FormatString(std::get<std::string_view>(arg), spec);
        }
    }
    return out;
}

} // namespace platform
