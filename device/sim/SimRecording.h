// The recordings the simulated device holds: what each one shows (a rhythm
// with the analysis flags and heart rate that go with it) and the 5676-byte
// recording block the device sends for it.
//
//   offset  size  field
//        0     4  magic "ECG\n"
//        4     2  device value
//        6     2  record number (LE)
//        8     6  recorded at: year-2000 month day hour minute second, FF = none
//       14     1  kind (1 dated, 0 undated)
//       15     3  device byte, filter (0 off, 2 on), device byte
//       18     4  N, number of samples (LE)
//       22     8  analysis flags (LE), device value
//       30     8  two device values, heart rate (LE), device value
//       38    10  internal
//       48     S  samples, two 12-bit values in three bytes, S = ceil(1.5 N)
//     5674     2  CRC-16/XMODEM of bytes 0..5673 (LE)
#pragma once

#include "records/RecordBuilder.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace device::sim {

inline constexpr std::size_t kBlockSize = 5676;
inline constexpr std::size_t kBlockSampleOffset = 48;
inline constexpr std::size_t kBlockCheckOffset = 5674;
// The most samples the block's sample area holds: 30 seconds.
inline constexpr std::uint32_t kMaxBlockSamples = 3750;

using RecordBlock = std::array<std::uint8_t, kBlockSize>;

// The flag bits the device sets for each finding.
inline constexpr std::uint32_t kFlagFastRate = 0x0020;
inline constexpr std::uint32_t kFlagSlowRate = 0x0040;
inline constexpr std::uint32_t kFlagIrregularBeats = 0x0001;
inline constexpr std::uint32_t kFlagIrregularWaveform = 0x0002;
inline constexpr std::uint32_t kFlagNotAnalysable = 0x0800;

enum class Rhythm {
    Normal,
    Fast,
    Slow,
    Irregular,
    FastIrregular,
    WideComplex,
    NotAnalysable,
};

struct SimRecordingPlan {
    std::uint16_t recordNumber = 1;
    Rhythm rhythm = Rhythm::Normal;
    bool dated = true;
    std::int64_t recorded = 0; // seconds since 1970; used when dated
    bool filterOn = true;
    std::uint32_t sampleCount = kMaxBlockSamples; // at most kMaxBlockSamples
    // The block check is left wrong, as after a memory fault in the device.
    bool damaged = false;
    std::uint32_t seed = 1;
};

std::uint32_t AnalysisFlagsOf(Rhythm rhythm);

// What the device measured and stored for the recording: its header values
// and 12-bit samples.
struct SimRecordingContent {
    records::RecordFields fields;
    std::vector<std::uint16_t> samples;
};
SimRecordingContent SynthesizeRecording(const SimRecordingPlan& plan);

// The block for the recording; the recording time is written in local time.
RecordBlock BuildRecordingBlock(const SimRecordingPlan& plan);

bool BlockCheckMatches(std::span<const std::uint8_t, kBlockSize> block);

// A varied set of `count` recordings, oldest first, the newest recorded at
// `newest` and the others a few hours apart; every fifth one undated. The
// record numbers count up from firstNumber.
std::vector<SimRecordingPlan> VariedRecordings(int count, std::int64_t newest, bool filterOn,
                                               std::uint16_t firstNumber, std::uint32_t seed);

} // namespace device::sim
