#include "device/sim/SimIdentity.h"

#include "platform/UdevDevices.h"

namespace device::sim {

std::string InstanceIdOf(const std::string& serial) {
    return platform::FormatUsbInstanceId(kVendorId, kProductId, serial);
}

SimMemory DeviceWithRecordings(std::span<const SimRecordingPlan> plans, std::uint8_t battery,
                               bool filterOn, bool clockSet) {
    SimMemory memory;
    memory.battery = battery;
    memory.filter = filterOn ? 2 : 0;
    memory.clockSet = clockSet;
    for (const SimRecordingPlan& plan : plans)
        StoreRecording(memory, BuildRecordingBlock(plan));
    return memory;
}

} // namespace device::sim
