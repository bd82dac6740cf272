// What the simulated device remembers: its record slots with the index
// (slot after the newest recording, recordings not yet taken), and what its
// status block reports (battery, filter, clock).
#pragma once

#include "device/DeviceBlocks.h"
#include "device/sim/SimRecording.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace device::sim {

using ControlBytes = std::array<std::uint8_t, kControlBlockSize>;

struct SimMemory {
    // kSlotCount entries; an empty slot reads as erased memory (all FF).
    std::vector<std::optional<RecordBlock>> slots =
        std::vector<std::optional<RecordBlock>>(kSlotCount);
    std::uint8_t position = 0; // 0 to 99
    std::uint8_t count = 0;    // 0 to 100
    std::uint8_t battery = 3;  // 1 replace, 2 and 3 usable
    std::uint8_t filter = 2;   // 0 off, 2 on
    bool deviceFlag = false;   // status byte 1, bit 2: kept as the computer writes it
    bool clockSet = true;
    // Device clock minus system clock, in seconds, while the clock is set.
    std::int64_t clockOffset = 0;
};

// Records a new recording in the slot after the newest one. After 100 the
// oldest is overwritten and the count stays at 100.
void StoreRecording(SimMemory& memory, const RecordBlock& block);

ControlBytes IndexBlockOf(const SimMemory& memory);
// `now` is the system clock; the device clock runs with it.
ControlBytes StatusBlockOf(const SimMemory& memory, std::int64_t now);

// One byte of the long-read address space: the record slots, FF elsewhere.
std::uint8_t SlotMemoryByte(const SimMemory& memory, std::uint32_t address);

} // namespace device::sim
