#include "device/sim/SimRecording.h"

#include "device/DeviceClock.h"
#include "device/sim/EcgSynth.h"
#include "records/RecordFormat.h"

#include <algorithm>
#include <random>

namespace device::sim {

namespace {

constexpr std::array<Rhythm, 7> kRhythmCycle = {
    Rhythm::Normal, Rhythm::Fast,        Rhythm::Normal,        Rhythm::Irregular,
    Rhythm::Slow,   Rhythm::WideComplex, Rhythm::FastIrregular,
};

// Rates well inside each finding's range, so the flags and the heart rate
// the trace shows never disagree.
RhythmModel ModelOf(Rhythm rhythm, std::mt19937& random) {
    const auto between = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    RhythmModel model;
    switch (rhythm) {
    case Rhythm::Normal:
        model.heartRate = between(60, 88);
        break;
    case Rhythm::Fast:
        model.heartRate = between(118, 150);
        model.rrVariation = 0.015;
        break;
    case Rhythm::Slow:
        model.heartRate = between(38, 45);
        break;
    case Rhythm::Irregular:
        model.heartRate = between(68, 86);
        model.rrVariation = 0.30;
        model.pWaves = false;
        break;
    case Rhythm::FastIrregular:
        model.heartRate = between(125, 145);
        model.rrVariation = 0.25;
        model.pWaves = false;
        break;
    case Rhythm::WideComplex:
        model.heartRate = between(62, 84);
        model.qrsWidening = 2.6;
        break;
    case Rhythm::NotAnalysable:
        model.heartRate = between(60, 90);
        model.noiseMillivolt = 0.45;
        model.wanderMillivolt = 0.9;
        break;
    }
    return model;
}

} // namespace

std::uint32_t AnalysisFlagsOf(Rhythm rhythm) {
    switch (rhythm) {
    case Rhythm::Normal:
        return 0;
    case Rhythm::Fast:
        return kFlagFastRate;
    case Rhythm::Slow:
        return kFlagSlowRate;
    case Rhythm::Irregular:
        return kFlagIrregularBeats;
    case Rhythm::FastIrregular:
        return kFlagFastRate | kFlagIrregularBeats;
    case Rhythm::WideComplex:
        return kFlagIrregularWaveform;
    case Rhythm::NotAnalysable:
        return kFlagNotAnalysable;
    }
    return 0;
}

bool BlockCheckMatches(std::span<const std::uint8_t, kBlockSize> block) {
    return records::Crc16Xmodem(block.first(kBlockCheckOffset)) ==
           records::ReadLe16(block, kBlockCheckOffset);
}

SimRecordingContent SynthesizeRecording(const SimRecordingPlan& plan) {
    std::mt19937 random(plan.seed);
    const RhythmModel model = ModelOf(plan.rhythm, random);
    SynthesizedEcg ecg =
        SynthesizeEcg(model, std::min(plan.sampleCount, kMaxBlockSamples), plan.seed);
    SimRecordingContent content;
    records::RecordFields& f = content.fields;
    f.deviceValue4 = 0x0103;
    f.recordNumber = plan.recordNumber;
    f.recordedTime = static_cast<std::uint32_t>(plan.recorded);
    f.kindByte = plan.dated ? 1 : 0;
    f.deviceValueByte = 0x05;
    f.filterByte = plan.filterOn ? 2 : 0;
    // 0 stands for the device's only rate, as in the files an import writes.
    f.sampleRate = 0;
    f.flags = AnalysisFlagsOf(plan.rhythm);
    f.heartRate = plan.rhythm == Rhythm::NotAnalysable
                      ? 0
                      : static_cast<std::uint16_t>(ecg.measuredHeartRate);
    content.samples = std::move(ecg.samples);
    return content;
}

RecordBlock BuildRecordingBlock(const SimRecordingPlan& plan) {
    const SimRecordingContent content = SynthesizeRecording(plan);
    const records::RecordFields& f = content.fields;
    RecordBlock block;
    // Flash memory that was never written reads as FF.
    block.fill(0xFF);
    const std::span<std::uint8_t> b(block);
    std::fill(block.begin(), block.begin() + kBlockSampleOffset, std::uint8_t{0});
    records::WriteLe32(b, 0, records::kMagic);
    records::WriteLe16(b, 4, f.deviceValue4);
    records::WriteLe16(b, 6, f.recordNumber);
    const auto clock = plan.dated ? TimeToDeviceClock(plan.recorded) : std::nullopt;
    if (clock)
        std::copy(clock->begin(), clock->end(), block.begin() + 8);
    else
        std::fill(block.begin() + 8, block.begin() + 14, std::uint8_t{0xFF});
    block[14] = clock ? f.kindByte : 0;
    block[15] = f.deviceValueByte;
    block[16] = f.filterByte;
    records::WriteLe32(b, 18, static_cast<std::uint32_t>(content.samples.size()));
    records::WriteLe32(b, 22, f.flags);
    records::WriteLe32(b, 26, f.usableMarker);
    records::WriteLe16(b, 30, 0x0010);
    records::WriteLe16(b, 32, 0x0020);
    records::WriteLe16(b, 34, f.heartRate);
    const std::vector<std::uint8_t> area = records::PackSamples(content.samples);
    std::copy(area.begin(), area.end(), block.begin() + kBlockSampleOffset);

    std::uint16_t check = records::Crc16Xmodem(b.first(kBlockCheckOffset));
    if (plan.damaged)
        check = static_cast<std::uint16_t>(~check);
    records::WriteLe16(b, kBlockCheckOffset, check);
    return block;
}

std::vector<SimRecordingPlan> VariedRecordings(int count, std::int64_t newest, bool filterOn,
                                               std::uint16_t firstNumber, std::uint32_t seed) {
    std::vector<SimRecordingPlan> plans;
    for (int k = 0; k < count; ++k) {
        SimRecordingPlan plan;
        plan.recordNumber = static_cast<std::uint16_t>(firstNumber + k);
        plan.rhythm = kRhythmCycle[static_cast<std::size_t>(k) % kRhythmCycle.size()];
        if (k % 11 == 10)
            plan.rhythm = Rhythm::NotAnalysable;
        plan.dated = k % 5 != 4;
        const std::int64_t older = count - 1 - k;
        plan.recorded = newest - older * 3 * 3600;
        plan.filterOn = filterOn;
        // Most recordings run the full 30 seconds; some were stopped early.
        plan.sampleCount = k % 4 == 3 ? 1250 + 125 * static_cast<std::uint32_t>(k % 7) : 3750;
        plan.seed = seed * 7919u + static_cast<std::uint32_t>(k);
        plans.push_back(plan);
    }
    return plans;
}

} // namespace device::sim
