// printf-style formatting for texts whose format comes from outside (the
// interface language file): each conversion takes the next argument and
// formats it by the argument's own type, so a wrong or missing conversion
// in a language file can never read the wrong thing.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace platform {

using FormatArg = std::variant<std::int64_t, std::string_view>;

// Understands %%, flags "-0+ #", a width, a precision and the conversions
// d i u x X c s (length modifiers are skipped). A conversion with no argument
// left gives nothing; extra arguments are ignored; a number given to %s is
// written in decimal and a text given to %d as it is.
std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args);

} // namespace platform
