#include "device/sim/SimFaults.h"

#include <array>
#include <charconv>
#include <utility>

namespace device::sim {

namespace {

constexpr std::array<std::pair<std::string_view, FaultKind>, 6> kNames = {{
    {"bcc", FaultKind::BadCheck},
    {"silence", FaultKind::Silence},
    {"refuse", FaultKind::Refuse},
    {"short", FaultKind::Short},
    {"unplug", FaultKind::Unplug},
    {"damaged", FaultKind::Damaged},
}};

} // namespace

std::optional<Fault> ParseFault(std::string_view text) {
    const std::size_t at = text.find('@');
    const std::string_view name = text.substr(0, at);
    Fault fault;
    bool known = false;
    for (const auto& [candidate, kind] : kNames) {
        if (candidate == name) {
            fault.kind = kind;
            known = true;
        }
    }
    if (!known)
        return std::nullopt;
    if (at != std::string_view::npos) {
        const std::string_view number = text.substr(at + 1);
        const auto [end, ec] =
            std::from_chars(number.data(), number.data() + number.size(), fault.at);
        if (number.empty() || ec != std::errc() || end != number.data() + number.size())
            return std::nullopt;
    }
    // A damaged recording and an unplugging need to know which and when.
    if ((fault.kind == FaultKind::Damaged && fault.at == 0) ||
        (fault.kind == FaultKind::Unplug && at == std::string_view::npos))
        return std::nullopt;
    return fault;
}

std::optional<std::vector<Fault>> ParseFaultList(std::string_view text) {
    std::vector<Fault> faults;
    if (text.empty())
        return faults;
    for (;;) {
        const std::size_t comma = text.find(',');
        const std::optional<Fault> fault = ParseFault(text.substr(0, comma));
        if (!fault)
            return std::nullopt;
        faults.push_back(*fault);
        if (comma == std::string_view::npos)
            return faults;
        text = text.substr(comma + 1);
    }
}

std::string FormatFault(const Fault& fault) {
    for (const auto& [name, kind] : kNames)
        if (kind == fault.kind)
            return std::string(name) + "@" + std::to_string(fault.at);
    return {};
}

} // namespace device::sim
