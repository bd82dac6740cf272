// Byte layout of an ECG record file, as pure functions: header offsets,
// sample packing, the sample checksum and the sizes that follow from N.
//
//   0            60            60+S          memo offset (16-aligned)
//   | header (60) | samples (S) | 0xFF padding (P) | memo block (660) |
//
// S = ceil(1.5 N): sample i takes bits 12i..12i+11 of the area, counted from
// the least significant bit of its first byte. For odd N the high nibble of
// the last byte is 1111. The memo block is optional (a file fresh from the
// device ends after the padding).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace records {

inline constexpr std::size_t kHeaderSize = 60;

// Header fields (offset, size). Fields not named here are carried unchanged.
inline constexpr std::size_t kOffMagic = 0;         // 4
inline constexpr std::size_t kOffDevice4 = 4;       // 2
inline constexpr std::size_t kOffRecordNumber = 6;  // 2
inline constexpr std::size_t kOffRecordedTime = 8;  // 4, unsigned seconds since 1970 UTC
inline constexpr std::size_t kOffKind = 12;         // 1, bits 0-1
inline constexpr std::size_t kOffDeviceValue = 13;  // 1, bits 0-5
inline constexpr std::size_t kOffFilter = 14;       // 1, bits 0-1
inline constexpr std::size_t kOffSampleCount = 16;  // 4
inline constexpr std::size_t kOffSampleRate = 22;   // 2, 0 means kDefaultSampleRate
inline constexpr std::size_t kOffFlags = 40;        // 4, analysis flags (low 16 bits used)
inline constexpr std::size_t kOffUsableMarker = 44; // 4, kUnusableMarker marks a bad record
inline constexpr std::size_t kOffHeartRate = 52;    // 2, beats per minute
inline constexpr std::size_t kOffChecksum = 58;     // 2, SampleChecksum of the sample area

inline constexpr std::uint32_t kMagic = 0x0A474345; // "ECG\n"
inline constexpr std::uint32_t kUnusableMarker = 0xFFFFFFFF;
inline constexpr std::uint16_t kDefaultSampleRate = 125;
inline constexpr std::uint32_t kMaxSamples = 4375;
inline constexpr std::uint8_t kPaddingByte = 0xFF;
// The model of the electrocardiograph that makes these files.
inline constexpr const char* kDeviceModel = "VTQ-7700S";

// Memo block: four items {code, byte length, 64-byte UTF-16LE text}, then a
// zero word, the comment's byte length and its 384-byte area.
inline constexpr std::size_t kMemoBlockSize = 660;
inline constexpr std::size_t kMemoItemCount = 4; // situation, symptoms, position, posture
inline constexpr std::size_t kMemoItemStride = 68;
inline constexpr std::size_t kMemoItemTextOffset = 4;
inline constexpr std::size_t kMemoItemTextMax = 60; // bytes
inline constexpr std::size_t kOffMemoCommentLength = 274;
inline constexpr std::size_t kOffMemoComment = 276;
inline constexpr std::size_t kMemoCommentMax = 280; // bytes

constexpr std::size_t MemoItemOffset(std::size_t item) {
    return item * kMemoItemStride;
}

// Sizes are 64-bit so that any N read from a file computes without overflow.
constexpr std::uint64_t SampleAreaSize(std::uint64_t n) {
    return (n & 1) + 12 * n / 8;
}
// The memo block starts at the smallest multiple of 16 above 60 + floor(12N/8).
constexpr std::uint64_t MemoBlockOffset(std::uint64_t n) {
    return ((kHeaderSize + 12 * n / 8) / 16 + 1) * 16;
}
constexpr std::uint64_t PaddingSize(std::uint64_t n) {
    return MemoBlockOffset(n) - kHeaderSize - SampleAreaSize(n);
}

// The largest file a reader ever needs to look at.
inline constexpr std::size_t kMaxRecordFileSize = MemoBlockOffset(kMaxSamples) + kMemoBlockSize;

// CRC-16/XMODEM: polynomial 0x1021, initial 0, no reflection, no final XOR
// ("123456789" gives 0x31C3). The device's recording blocks carry it.
std::uint16_t Crc16Xmodem(std::span<const std::uint8_t> bytes);

// The 16-bit bit reversal of CRC-16/XMODEM over the bytes ("123456789" gives
// 0xC38C).
std::uint16_t SampleChecksum(std::span<const std::uint8_t> bytes);

// The 12-bit value of sample i. Bytes beyond the area read as 0, so any
// index is safe; callers keep i below N.
std::uint16_t UnpackSample(std::span<const std::uint8_t> area, std::size_t i);

// The sample area for the values (each taken modulo 4096).
std::vector<std::uint8_t> PackSamples(std::span<const std::uint16_t> values);

// Little-endian fields. The caller guarantees offset + width <= size.
constexpr std::uint16_t ReadLe16(std::span<const std::uint8_t> b, std::size_t off) {
    return static_cast<std::uint16_t>(b[off] | (b[off + 1] << 8));
}
constexpr std::uint32_t ReadLe32(std::span<const std::uint8_t> b, std::size_t off) {
    return static_cast<std::uint32_t>(b[off]) | (static_cast<std::uint32_t>(b[off + 1]) << 8) |
           (static_cast<std::uint32_t>(b[off + 2]) << 16) |
           (static_cast<std::uint32_t>(b[off + 3]) << 24);
}
constexpr void WriteLe16(std::span<std::uint8_t> b, std::size_t off, std::uint16_t v) {
    b[off] = static_cast<std::uint8_t>(v);
    b[off + 1] = static_cast<std::uint8_t>(v >> 8);
}
constexpr void WriteLe32(std::span<std::uint8_t> b, std::size_t off, std::uint32_t v) {
    for (std::size_t k = 0; k < 4; ++k) {
        b[off + k] = static_cast<std::uint8_t>(v >> (8 * k));
    }
}

} // namespace records
