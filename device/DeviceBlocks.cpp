#include "device/DeviceBlocks.h"

#include "device/DeviceClock.h"

#include <algorithm>
#include <bit>

namespace device {
namespace {

// Status bytes the device wants zero in every image.
void ClearReservedStatusBytes(ControlBlock status) {
    for (std::size_t i : {2, 3, 6, 7, 15}) {
        status[i] = 0;
    }
}

} // namespace

std::uint8_t BlockChecksum(ConstControlBlock block) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < kBlockChecksum; ++i) {
        sum += block[i];
    }
    return static_cast<std::uint8_t>(sum);
}

void PrepareSettingsImage(ControlBlock status, std::uint8_t settings) {
    status[kStaFilter] = settings;
    ClearReservedStatusBytes(status);
    status[kBlockChecksum] = BlockChecksum(status);
}

bool PrepareClockImage(ControlBlock status, std::int64_t time) {
    const auto clock = TimeToDeviceClock(time);
    if (!clock) {
        return false;
    }
    std::copy(clock->begin(), clock->end(), status.begin() + kStaClock);
    status[kStaBattery] &= static_cast<std::uint8_t>(~kClockNotSetBit);
    ClearReservedStatusBytes(status);
    status[kBlockChecksum] = BlockChecksum(status);
    return true;
}

void PrepareCountImage(ControlBlock index, std::uint8_t count) {
    index[kIdxCount] = count;
    index[kIdxParity] = std::popcount(count) % 2 == 0 ? 0x80 : 0x00;
    index[kBlockChecksum] = BlockChecksum(index);
}

int SlotOfRecording(std::uint8_t position, int i) {
    const int slot = (static_cast<int>(position) - i - 1) % kSlotCount;
    return slot < 0 ? slot + kSlotCount : slot;
}

} // namespace device
