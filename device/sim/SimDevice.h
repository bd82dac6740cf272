// The simulated electrocardiograph's protocol side: takes one request frame
// and gives the bytes it answers with, acting on its memory as the real
// device does, and showing the faults it was told to show.
#pragma once

#include "device/sim/SimFaults.h"
#include "device/sim/SimMemory.h"

#include <cstdint>
#include <functional>
#include <span>
#include <utility>
#include <vector>

namespace device {
class FrameReceiveStd;
}

namespace device::sim {

// The result statuses the device uses. Any nonzero status other than the
// refusal asks the computer to try again.
inline constexpr std::uint8_t kStatusOk = 0x00;
inline constexpr std::uint8_t kStatusGarbled = 0x01;
// The trailer byte M the device puts into every extended response.
inline constexpr std::uint8_t kExtendedMarker = 0xA5;

struct SimReply {
    std::vector<std::uint8_t> bytes; // empty: the device stays silent
    bool unplug = false;             // the device is gone; close the line
};

class CSimDevice {
public:
    using TimeSource = std::function<std::int64_t()>;

    // Without a time source the system clock is used.
    explicit CSimDevice(SimMemory memory, std::vector<Fault> faults = {}, TimeSource now = {});

    // One complete request frame (its length byte first).
    SimReply Handle(std::span<const std::uint8_t> request);

    const SimMemory& Memory() const { return m_memory; }
    unsigned Exchanges() const { return m_nExchanges; }
    // True once after a write changed the memory, so the owner can save it.
    bool TakeChanged() { return std::exchange(m_bChanged, false); }

private:
    bool FaultAt(FaultKind kind, unsigned exchange) const;
    std::vector<std::uint8_t> Answer(const FrameReceiveStd& request);
    std::vector<std::uint8_t> SingleAccess(const FrameReceiveStd& request);
    std::vector<std::uint8_t> LongRead(const FrameReceiveStd& request);
    bool ApplyIndexImage(std::span<const std::uint8_t> image);
    bool ApplyStatusImage(std::span<const std::uint8_t> image);

    SimMemory m_memory;
    std::vector<Fault> m_faults;
    TimeSource m_now;
    unsigned m_nExchanges = 0;
    bool m_bInAccess = false;
    bool m_bChanged = false;
};

} // namespace device::sim
