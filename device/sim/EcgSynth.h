// Synthetic single-lead electrocardiograms for the device simulator: beats
// with P wave, QRS complex and T wave, baseline wander and noise, at the
// device's 125 samples per second and in its 12-bit value range.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace device::sim {

inline constexpr int kSampleRate = 125;
// The level of 0 mV and the counts per millivolt. Chosen so that a trace
// stays inside the 11 bits the drawing code keeps after scaling.
inline constexpr int kBaseline = 1024;
inline constexpr int kCountsPerMillivolt = 256;
inline constexpr std::uint16_t kMaxValue = 2090;

struct RhythmModel {
    int heartRate = 72;        // mean beats per minute
    double rrVariation = 0.03; // relative spread of the beat-to-beat interval
    bool pWaves = true;        // false with fibrillation: no P, a wavy baseline
    double qrsWidening = 1.0;  // 1 normal; larger for a wide, bizarre complex
    double noiseMillivolt = 0.015;
    double wanderMillivolt = 0.08;
};

struct SynthesizedEcg {
    std::vector<std::uint16_t> samples; // 12-bit values
    int measuredHeartRate = 0;          // from the beats actually placed
};

// Deterministic for a given seed.
SynthesizedEcg SynthesizeEcg(const RhythmModel& model, std::size_t sampleCount, std::uint32_t seed);

} // namespace device::sim
