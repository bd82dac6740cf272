#include "records/SearchFilter.h"

#include "records/AnalysisClass.h"

#include <algorithm>
#include <cstdint>

namespace records {

namespace {

// For each class, the switches (as bits) of the groups it belongs to.
constexpr std::uint8_t kGroupsOfClass[kAnalysisClassCount] = {
    0b000001, // 0  no irregularity
    0b000100, // 1  fast
    0b001100, // 2  fast, beats
    0b010100, // 3  fast, wave
    0b011100, // 4  fast, beats, wave
    0b000010, // 5  slow
    0b001010, // 6  slow, beats
    0b010010, // 7  slow, wave
    0b011010, // 8  slow, beats, wave
    0b001000, // 9  beats
    0b011000, // 10 beats, wave
    0b010000, // 11 wave
    0b100000, // 12 not analysable
};

unsigned SwitchBits(std::span<const int, kSearchSwitchCount> switches) {
    unsigned bits = 0;
    for (int s = 0; s < kSearchSwitchCount; ++s) {
        if (switches[s] != 0) {
            bits |= 1u << s;
        }
    }
    return bits;
}

} // namespace

bool MatchesFilter(std::span<const int, kSearchSwitchCount> switches, int analysisClass) {
    const unsigned on = SwitchBits(switches);
    if (on == 0) {
        return true;
    }
    const int cls = analysisClass >= 0 && analysisClass < kAnalysisClassCount ? analysisClass : 0;
    return (kGroupsOfClass[cls] & on) != 0;
}

bool HasPartialFilter(std::span<const int, kSearchSwitchCount> switches) {
    const auto on = std::count_if(switches.begin(), switches.end(), [](int s) { return s != 0; });
    return on > 0 && on < kSearchSwitchCount;
}

} // namespace records
