// The device's analysis result of a recording: the five indicators taken from
// the header flags, the result class (0-12) and its severity (0-3).
#pragma once

#include <cstdint>

namespace records {

struct AnalysisIndicators {
    bool fastRate = false;       // I1
    bool slowRate = false;       // I2
    bool irregularBeats = false; // I3
    bool irregularWave = false;  // I4
    bool notAnalysable = false;  // I5
};

inline constexpr int kAnalysisClassCount = 13;
inline constexpr int kNotAnalysableClass = 12;

AnalysisIndicators IndicatorsFromFlags(std::uint32_t flags);

// Class 12 also covers the contradictory fast-and-slow combination.
int AnalysisClassOf(const AnalysisIndicators& ind);

// 3 not analysable, 2 irregular beats or waveform, 1 fast or slow rate, 0 none.
int SeverityOf(const AnalysisIndicators& ind);

} // namespace records
