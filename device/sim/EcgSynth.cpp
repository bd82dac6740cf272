#include "device/sim/EcgSynth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace device::sim {

namespace {

// One wave of a beat as a Gaussian bump around its time relative to the R
// peak, scaled to the beat's interval where the physiology does so.
struct Wave {
    double offsetSeconds;
    double amplitudeMillivolt;
    double widthSeconds;
};

double Bump(double t, const Wave& wave) {
    const double d = (t - wave.offsetSeconds) / wave.widthSeconds;
    return wave.amplitudeMillivolt * std::exp(-0.5 * d * d);
}

// The waves of a beat whose interval to the next beat is rr seconds. The T
// wave moves with the square root of the interval, as the QT time does.
std::vector<Wave> BeatWaves(const RhythmModel& model, double rr) {
    const double w = model.qrsWidening;
    const double qt = 0.40 * std::sqrt(rr);
    std::vector<Wave> waves = {
        {-0.035 * w, -0.10, 0.010 * w},
        {0.0, 1.20 / std::sqrt(w), 0.011 * w},
        {0.035 * w, -0.25, 0.012 * w},
        {qt - 0.10, model.qrsWidening > 1.0 ? -0.30 : 0.32, 0.055},
    };
    if (model.pWaves)
        waves.push_back({-0.17, 0.14, 0.025});
    return waves;
}

} // namespace

SynthesizedEcg SynthesizeEcg(const RhythmModel& model, std::size_t sampleCount,
                             std::uint32_t seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, model.noiseMillivolt);
    std::uniform_real_distribution<double> spread(-model.rrVariation, model.rrVariation);
    std::uniform_real_distribution<double> phase(0.0, 2.0 * std::numbers::pi);

    const double duration = static_cast<double>(sampleCount) / kSampleRate;
    const double meanRr = 60.0 / std::max(model.heartRate, 1);

    // Place the R peaks first; each beat draws its own interval.
    std::vector<double> peaks;
    std::vector<double> intervals;
    for (double t = 0.3 + meanRr * 0.5 * (1.0 + spread(random)); t < duration + 1.0;) {
        const double rr = std::max(0.25, meanRr * (1.0 + spread(random)));
        peaks.push_back(t);
        intervals.push_back(rr);
        t += rr;
    }

    std::vector<double> millivolts(sampleCount, 0.0);
    for (std::size_t b = 0; b < peaks.size(); ++b) {
        const std::vector<Wave> waves = BeatWaves(model, intervals[b]);
        const double from = std::max(0.0, peaks[b] - 0.4);
        const double to = std::min(duration, peaks[b] + 0.8);
        for (auto i = static_cast<std::size_t>(from * kSampleRate);
             i < sampleCount && static_cast<double>(i) < to * kSampleRate; ++i) {
            const double t = static_cast<double>(i) / kSampleRate - peaks[b];
            for (const Wave& wave : waves)
                millivolts[i] += Bump(t, wave);
        }
    }

    const double wanderPhase = phase(random);
    const double fibrillationPhase = phase(random);
    for (std::size_t i = 0; i < sampleCount; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        // Breathing moves the baseline about once every four seconds.
        millivolts[i] +=
            model.wanderMillivolt * std::sin(2.0 * std::numbers::pi * 0.25 * t + wanderPhase);
        if (!model.pWaves)
            millivolts[i] += 0.05 * std::sin(2.0 * std::numbers::pi * 6.0 * t + fibrillationPhase);
        millivolts[i] += noise(random);
    }

    SynthesizedEcg ecg;
    ecg.samples.reserve(sampleCount);
    for (const double mv : millivolts) {
        const double value = std::round(kBaseline + mv * kCountsPerMillivolt);
        ecg.samples.push_back(
            static_cast<std::uint16_t>(std::clamp(value, 0.0, double{kMaxValue})));
    }
    // The rate over the beats that fall inside the recording.
    int inside = 0;
    double span = 0.0;
    for (std::size_t b = 0; b < peaks.size(); ++b) {
        if (peaks[b] + intervals[b] <= duration) {
            ++inside;
            span += intervals[b];
        }
    }
    ecg.measuredHeartRate = inside > 0 ? static_cast<int>(std::lround(60.0 * inside / span)) : 0;
    return ecg;
}

} // namespace device::sim
