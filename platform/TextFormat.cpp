#include "platform/TextFormat.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace platform {

namespace {

struct Conversion {
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
Conversion ParseConversion(std::string_view format, std::size_t& i) {
    Conversion conv;
    while (i < format.size() && std::string_view("-0+ #").find(format[i]) != std::string_view::npos)
        conv.flags += format[i++];
    if (i < format.size() && IsDigit(format[i]))
        conv.width = ReadNumber(format, i);
    if (i < format.size() && format[i] == '.') {
        ++i;
        conv.precision = ReadNumber(format, i);
    }
    while (i < format.size() &&
           std::string_view("hlLqjzt").find(format[i]) != std::string_view::npos)
        ++i;
    if (i < format.size()) {
        const char letter = format[i++];
        if (std::string_view("diuxXcs").find(letter) != std::string_view::npos)
            conv.conversion = letter;
    }
    return conv;
}

std::string Pad(std::string text, const Conversion& conv) {
    if (conv.width < 0 || static_cast<int>(text.size()) >= conv.width)
        return text;
    const std::size_t fill = static_cast<std::size_t>(conv.width) - text.size();
    if (conv.flags.find('-') != std::string::npos)
        return text + std::string(fill, ' ');
    return std::string(fill, ' ') + text;
}

std::string FormatNumber(std::int64_t value, const Conversion& conv) {
    std::string printfConversion = "%" + conv.flags;
    if (conv.width >= 0)
        printfConversion += std::to_string(conv.width);
    if (conv.precision >= 0) {
        printfConversion += '.';
        printfConversion += std::to_string(conv.precision);
    }
    char conversion = conv.conversion;
    if (conversion == 's' || conversion == 'c' || conversion == 'i')
        conversion = 'd';
    printfConversion += "ll";
    printfConversion += conversion;
    char buffer[1100];
    const int n = std::snprintf(buffer, sizeof buffer, printfConversion.c_str(),
                                static_cast<long long>(value));
    return n > 0 ? std::string(buffer, std::min<std::size_t>(n, sizeof buffer - 1)) : "";
}

std::string FormatString(std::string_view value, const Conversion& conv) {
    std::string text(value);
    if (conv.precision >= 0 && static_cast<std::size_t>(conv.precision) < text.size()) {
        // Cut at a character boundary: a precision counts bytes in printf,
        // but half a character is never what a translator meant.
        std::size_t cut = static_cast<std::size_t>(conv.precision);
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
        text.resize(cut);
    }
    return Pad(std::move(text), conv);
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
        const Conversion conv = ParseConversion(format, i);
        if (conv.conversion == 0 || next == args.end())
            continue;
        const FormatArg& arg = *next++;
        if (const auto* number = std::get_if<std::int64_t>(&arg)) {
            out += conv.conversion == 'c' && *number > 0 && *number < 0x80
                       ? Pad(std::string(1, static_cast<char>(*number)), conv)
                       : FormatNumber(*number, conv);
        } else {
            out += FormatString(std::get<std::string_view>(arg), conv);
        }
    }
    return out;
}

} // namespace platform
