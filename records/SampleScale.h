// How the sample values a record hands out (0-2047) map to millivolts: the
// scale the papers draw at and every export writes.
#pragma once

namespace records {

// The value of 0 mV, and the values per millivolt.
inline constexpr int kSampleBaseline = 1024;
inline constexpr double kSampleGain = 102.35;
inline constexpr int kSampleMin = 0;
inline constexpr int kSampleMax = 2047;

constexpr double SampleMillivolts(int value) {
    return (value - kSampleBaseline) / kSampleGain;
}

} // namespace records
