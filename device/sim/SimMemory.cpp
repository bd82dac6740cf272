#include "device/sim/SimMemory.h"

#include "device/DeviceClock.h"

#include <algorithm>

namespace device::sim {

namespace {

// What an unset clock reads: it starts from zero after a battery change.
constexpr DeviceClockBytes kUnsetClock = {0, 1, 1, 0, 0, 0};
// Status bytes 4 and 5 are device values the computer writes back as read.
constexpr std::uint8_t kStatusByte4 = 0x01;
constexpr std::uint8_t kStatusByte5 = 0x20;

} // namespace

void StoreRecording(SimMemory& memory, const RecordBlock& block) {
    memory.slots[memory.position] = block;
    memory.position = static_cast<std::uint8_t>((memory.position + 1) % kSlotCount);
    memory.count = static_cast<std::uint8_t>(std::min<int>(memory.count + 1, kSlotCount));
}

ControlBytes IndexBlockOf(const SimMemory& memory) {
    ControlBytes block{};
    block[kIdxPosition] = memory.position;
    block[kIdxCount] = memory.count;
    block[kBlockChecksum] = BlockChecksum(block);
    return block;
}

ControlBytes StatusBlockOf(const SimMemory& memory, std::int64_t now) {
    ControlBytes block{};
    block[kStaBattery] = static_cast<std::uint8_t>((memory.battery & 0x0F) |
                                                   (memory.clockSet ? 0 : kClockNotSetBit));
    block[kStaFilter] =
        static_cast<std::uint8_t>((memory.filter & 3) | (memory.deviceFlag ? 4 : 0));
    block[4] = kStatusByte4;
    block[5] = kStatusByte5;
    std::optional<DeviceClockBytes> clock;
    if (memory.clockSet)
        clock = TimeToDeviceClock(now + memory.clockOffset);
    const DeviceClockBytes& bytes = clock ? *clock : kUnsetClock;
    std::copy(bytes.begin(), bytes.end(), block.begin() + kStaClock);
    block[kBlockChecksum] = BlockChecksum(block);
    return block;
}

std::uint8_t SlotMemoryByte(const SimMemory& memory, std::uint32_t address) {
    if (address < static_cast<std::uint32_t>(kAddrFirstSlot))
        return 0xFF;
    const std::uint32_t relative = address - static_cast<std::uint32_t>(kAddrFirstSlot);
    const std::uint32_t slot = relative / kSlotStride;
    const std::uint32_t offset = relative % kSlotStride;
    if (slot >= static_cast<std::uint32_t>(kSlotCount) || offset >= kBlockSize ||
        !memory.slots[slot])
        return 0xFF;
    return (*memory.slots[slot])[offset];
}

} // namespace device::sim
