// The memory operations of DeviceAccess: each is one transaction on the
// control blocks or a record slot.
#include "device/DeviceAccess.h"

#include "device/DeviceError.h"

namespace device {

void DeviceAccess::StartAccess() {
    SetWriteTimeout(m_config.writeTimeoutMs);
    Exchange(AccessStart());
}

void DeviceAccess::EndAccess() {
    SetWriteTimeout(m_config.writeTimeoutMs);
    Exchange(AccessEnd());
}

void DeviceAccess::ReadRecordIndex(ControlBlock destination) {
    Exchange(SingleAccessRead(kAddrRecordIndex, kControlBlockSize), destination);
}

void DeviceAccess::ReadDeviceStatus(ControlBlock destination) {
    Exchange(SingleAccessRead(kAddrDeviceStatus, kControlBlockSize), destination);
}

void DeviceAccess::WriteDeviceSettings(ControlBlock status, std::uint8_t settings) {
    PrepareSettingsImage(status, settings);
    SetWriteTimeout(m_config.writeTimeoutMs);
    Exchange(SingleAccessWrite(kAddrDeviceStatusImage, status));
}

void DeviceAccess::WriteDeviceClock(ControlBlock status, std::int64_t time) {
    if (!PrepareClockImage(status, time)) {
        throw DeviceError(kErrClockRange);
    }
    SetWriteTimeout(m_config.writeTimeoutMs);
    Exchange(SingleAccessWrite(kAddrDeviceStatusImage, status));
}

void DeviceAccess::ClearRecordCount(ControlBlock index, std::uint8_t count) {
    PrepareCountImage(index, count);
    SetWriteTimeout(m_config.writeTimeoutMs);
    Exchange(SingleAccessWrite(kAddrRecordIndexImage, index));
}

void DeviceAccess::ReadRecordBlock(int i, ConstControlBlock index,
                                   std::span<std::uint8_t, kRecordBlockSize> destination) {
    const int slot = SlotOfRecording(index[kIdxPosition], i);
    Exchange(SingleAccessLongRead(SlotAddress(slot), kRecordBlockSize), destination);
}

} // namespace device
