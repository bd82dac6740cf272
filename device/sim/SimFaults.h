// The faults the simulated device can be told to show, each at a chosen
// exchange (the n-th request it receives, counted from 1) or at every one.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace device::sim {

enum class FaultKind {
    BadCheck, // the response's check byte is wrong
    Silence,  // no response at all
    Refuse,   // status 0xE6
    Short,    // the response stops half-way
    Unplug,   // after `at` exchanges the device is gone: no answer, the line hangs up
    Damaged,  // recording `at` (1 = the oldest) has a wrong block check
};

struct Fault {
    FaultKind kind = FaultKind::BadCheck;
    // The exchange it applies to; 0 = every exchange. For Damaged, the
    // recording; for Unplug, the number of exchanges answered before.
    unsigned at = 0;
};

// "bcc@3", "silence", "refuse@1", "short@2", "unplug@5", "damaged@2";
// a comma-separated list of them. nullopt for anything else.
std::optional<Fault> ParseFault(std::string_view text);
std::optional<std::vector<Fault>> ParseFaultList(std::string_view text);
std::string FormatFault(const Fault& fault);

} // namespace device::sim
