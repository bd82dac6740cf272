#include "device/sim/SimDevice.h"

#include "device/DeviceClock.h"
#include "device/Frame.h"

#include <algorithm>
#include <bit>
#include <ctime>
#include <utility>

namespace device::sim {

namespace {

// The address window of the two control blocks, which single reads serve.
constexpr std::uint32_t kControlWindowStart = kAddrRecordIndex;
constexpr std::uint32_t kControlWindowEnd = kAddrDeviceStatus + kControlBlockSize;
constexpr std::uint8_t kDirectionMask = 0xC0;
constexpr std::uint8_t kDirectionWrite = 0xC0;

std::vector<std::uint8_t> Refusal(std::uint8_t command) {
    if (command == kCmdLongRead)
        return BuildExtendedResponse(command, {}, kStatusNoRetry, kExtendedMarker);
    return BuildStandardResponse(command, {}, kStatusNoRetry);
}

bool ImageChecksumMatches(std::span<const std::uint8_t> image) {
    return image.size() == kControlBlockSize &&
           BlockChecksum(ConstControlBlock(image.data(), kControlBlockSize)) ==
               image[kBlockChecksum];
}

} // namespace

CSimDevice::CSimDevice(SimMemory memory, std::vector<Fault> faults, TimeSource now)
    : m_memory(std::move(memory)), m_faults(std::move(faults)), m_now(std::move(now)) {
    if (!m_now)
        m_now = [] { return static_cast<std::int64_t>(std::time(nullptr)); };
}

bool CSimDevice::FaultAt(FaultKind kind, unsigned exchange) const {
    return std::any_of(m_faults.begin(), m_faults.end(), [&](const Fault& fault) {
        if (fault.kind != kind)
            return false;
        if (kind == FaultKind::Unplug)
            return exchange > fault.at;
        return fault.at == 0 || fault.at == exchange;
    });
}

SimReply CSimDevice::Handle(std::span<const std::uint8_t> request) {
    const unsigned exchange = ++m_nExchanges;
    if (FaultAt(FaultKind::Unplug, exchange))
        return {{}, true};
    // A request lost on the line never reaches the device.
    if (FaultAt(FaultKind::Silence, exchange))
        return {};

    FrameReceiveStd frame;
    frame.Receive(request);
    if (request.size() < kStdFrameOverhead || frame.ComputeBcc() != frame.Bcc())
        return {BuildStandardResponse(request.size() > 1 ? request[1] : 0, {}, kStatusGarbled)};

    SimReply reply;
    reply.bytes = FaultAt(FaultKind::Refuse, exchange) ? Refusal(frame.Command()) : Answer(frame);
    if (FaultAt(FaultKind::BadCheck, exchange)) {
        // The standard check byte is the last one; the extended form's
        // first XOR byte sits four from the end.
        const bool extended = reply.bytes.front() == kExtendedMark;
        reply.bytes[reply.bytes.size() - (extended ? 4 : 1)] ^= 0x01;
    }
    if (FaultAt(FaultKind::Short, exchange))
        reply.bytes.resize(std::max<std::size_t>(1, reply.bytes.size() / 2));
    return reply;
}

std::vector<std::uint8_t> CSimDevice::Answer(const FrameReceiveStd& request) {
    const std::uint8_t command = request.Command();
    if (command == kCmdAccessStart) {
        m_bInAccess = true;
        return BuildStandardResponse(command, {}, kStatusOk);
    }
    // Outside an access sequence the device takes no orders.
    if (!m_bInAccess)
        return Refusal(command);
    switch (command) {
    case kCmdAccessEnd:
        m_bInAccess = false;
        return BuildStandardResponse(command, {}, kStatusOk);
    case kCmdSingleAccess:
        return SingleAccess(request);
    case kCmdLongRead:
        return LongRead(request);
    default:
        return Refusal(command);
    }
}

std::vector<std::uint8_t> CSimDevice::SingleAccess(const FrameReceiveStd& request) {
    const auto& p = request.Params();
    const std::uint32_t address =
        (static_cast<std::uint32_t>(p[0] & 0x0F) << 16) | (p[1] << 8) | p[2];
    const std::size_t size = p[3];
    const std::uint8_t direction = p[0] & kDirectionMask;

    if (direction == kDirectionWrite) {
        const std::span<const std::uint8_t> data = request.Data();
        if (data.size() != size || size != kControlBlockSize)
            return Refusal(kCmdSingleAccess);
        bool applied = false;
        if (address == static_cast<std::uint32_t>(kAddrRecordIndexImage))
            applied = ApplyIndexImage(data);
        else if (address == static_cast<std::uint32_t>(kAddrDeviceStatusImage))
            applied = ApplyStatusImage(data);
        if (!applied)
            return Refusal(kCmdSingleAccess);
        m_bChanged = true;
        return BuildStandardResponse(kCmdSingleAccess, {}, kStatusOk);
    }
    if (direction != 0 || !request.Data().empty() || address < kControlWindowStart ||
        address + size > kControlWindowEnd)
        return Refusal(kCmdSingleAccess);

    const ControlBytes index = IndexBlockOf(m_memory);
    const ControlBytes status = StatusBlockOf(m_memory, m_now());
    std::vector<std::uint8_t> payload;
    for (std::uint32_t a = address; a < address + size; ++a) {
        const std::uint32_t offset = a - kControlWindowStart;
        payload.push_back(offset < kControlBlockSize ? index[offset]
                                                     : status[offset - kControlBlockSize]);
    }
    return BuildStandardResponse(kCmdSingleAccess, payload, kStatusOk);
}

std::vector<std::uint8_t> CSimDevice::LongRead(const FrameReceiveStd& request) {
    const auto& p = request.Params();
    const std::span<const std::uint8_t> data = request.Data();
    const std::uint32_t address =
        (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
    // The extended form has an even length, so only even sizes fit it.
    if (data.size() != 2)
        return Refusal(kCmdLongRead);
    const std::size_t size = static_cast<std::size_t>(data[0] << 8 | data[1]);
    if (size % 2 != 0 || size > kMaxExtPayload || address < kAddrFirstSlot)
        return Refusal(kCmdLongRead);
    std::vector<std::uint8_t> payload(size);
    for (std::size_t k = 0; k < size; ++k)
        payload[k] = SlotMemoryByte(m_memory, address + static_cast<std::uint32_t>(k));
    return BuildExtendedResponse(kCmdLongRead, payload, kStatusOk, kExtendedMarker);
}

bool CSimDevice::ApplyIndexImage(std::span<const std::uint8_t> image) {
    const std::uint8_t count = image[kIdxCount];
    const bool parityBit = (image[kIdxParity] & 0x80) != 0;
    const bool evenOnes = std::popcount(count) % 2 == 0;
    if (!ImageChecksumMatches(image) || parityBit != evenOnes || count > kSlotCount)
        return false;
    // The slot position is the device's own; only the count is taken.
    m_memory.count = count;
    return true;
}

bool CSimDevice::ApplyStatusImage(std::span<const std::uint8_t> image) {
    if (!ImageChecksumMatches(image))
        return false;
    const bool setsClock = (image[kStaBattery] & kClockNotSetBit) == 0;
    std::optional<std::int64_t> clock;
    if (setsClock) {
        clock = DeviceClockToTime(image.subspan<kStaClock, 6>());
        if (!clock)
            return false;
    }
    // The battery level is measured, not taken from the computer.
    m_memory.filter = image[kStaFilter] & 3;
    m_memory.deviceFlag = (image[kStaFilter] & 4) != 0;
    if (clock) {
        m_memory.clockSet = true;
        m_memory.clockOffset = *clock - m_now();
    }
    return true;
}

} // namespace device::sim
