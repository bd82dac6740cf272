// The device's memory map, its two 16-byte control blocks (record index,
// device status) and the images of them that the computer writes back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace device {

inline constexpr std::int32_t kAddrRecordIndex = 0x00A0;
inline constexpr std::int32_t kAddrDeviceStatus = 0x00B0;
// The write images lie 0xA0 above the blocks they replace.
inline constexpr std::int32_t kAddrRecordIndexImage = 0x0140;
inline constexpr std::int32_t kAddrDeviceStatusImage = 0x0150;
inline constexpr std::int32_t kAddrFirstSlot = 0x1000;
inline constexpr std::int32_t kSlotStride = 0x4000;
inline constexpr int kSlotCount = 100;
inline constexpr std::size_t kControlBlockSize = 16;
inline constexpr std::size_t kRecordBlockSize = 5676;

using ControlBlock = std::span<std::uint8_t, kControlBlockSize>;
using ConstControlBlock = std::span<const std::uint8_t, kControlBlockSize>;

// Record index block.
inline constexpr std::size_t kIdxPosition = 0; // slot after the newest recording
inline constexpr std::size_t kIdxCount = 2;    // recordings not yet taken
inline constexpr std::size_t kIdxParity = 3;   // bit 7: odd parity of the count
// Device status block.
inline constexpr std::size_t kStaBattery = 0; // bits 0-3 level, bit 6 clock not set
inline constexpr std::size_t kStaFilter = 1;  // bits 0-1 filter, bit 2 kept as read
inline constexpr std::size_t kStaClock = 8;   // six bytes, see DeviceClock.h
inline constexpr std::uint8_t kClockNotSetBit = 0x40;
// Both blocks: the sum of bytes 0 to 13.
inline constexpr std::size_t kBlockChecksum = 14;

std::uint8_t BlockChecksum(ConstControlBlock block);

// The status image that sets the filter from `settings`.
void PrepareSettingsImage(ControlBlock status, std::uint8_t settings);
// The status image that sets the clock to `time` and marks it set. False,
// with the block unchanged, when the device cannot hold that time.
bool PrepareClockImage(ControlBlock status, std::int64_t time);
// The index image that leaves `count` recordings not yet taken.
void PrepareCountImage(ControlBlock index, std::uint8_t count);

// The slot of recording i (0 the newest) when `position` is the slot after
// the newest one. Always a slot of the device, even for a position the
// device should never report.
int SlotOfRecording(std::uint8_t position, int i);
constexpr std::int32_t SlotAddress(int slot) {
    return kAddrFirstSlot + slot * kSlotStride;
}

} // namespace device
