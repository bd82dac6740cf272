#include "device/Frame.h"

#include "device/DeviceError.h"

#include <algorithm>
#include <stdexcept>

namespace device {
namespace {

constexpr std::uint8_t kWriteDirection = 0xC0;

std::uint8_t Byte(std::uint32_t value, int shift) {
    return static_cast<std::uint8_t>((value >> shift) & 0xFF);
}

std::array<std::uint8_t, 4> SingleParams(std::int32_t address, std::uint8_t direction,
                                         std::uint8_t size) {
    const auto a = static_cast<std::uint32_t>(address);
    return {static_cast<std::uint8_t>(direction | ((a >> 16) & 0x0F)), Byte(a, 8), Byte(a, 0),
            size};
}

std::uint8_t ResponseCommand(std::uint8_t requestCommand) {
    return static_cast<std::uint8_t>(requestCommand + kResponseBit);
}

ResponseResult ByStatus(std::uint8_t status) {
    if (status == kStatusNoRetry) {
        return ResponseResult::ERR_RESPONSE_NORETRY;
    }
    return status == 0 ? ResponseResult::OK : ResponseResult::ERR_RESPONSE_RETRIABLE;
}

} // namespace

Frame::Frame(std::uint8_t command, const std::array<std::uint8_t, 4>& params,
             std::span<const std::uint8_t> data, std::uint8_t status)
    : m_command(command), m_params(params), m_data(data.begin(), data.end()), m_status(status) {
    if (data.size() > kMaxStdData) {
        throw std::invalid_argument("frame data too long");
    }
    m_length = static_cast<std::uint8_t>(kStdFrameOverhead + data.size());
    m_bcc = ComputeBcc();
}

void Frame::Serialize(std::vector<std::uint8_t>& out) const {
    out.clear();
    out.reserve(kStdFrameOverhead + m_data.size());
    out.push_back(m_length);
    out.push_back(m_command);
    out.insert(out.end(), m_params.begin(), m_params.end());
    out.insert(out.end(), m_data.begin(), m_data.end());
    out.push_back(m_status);
    out.push_back(m_bcc);
}

std::uint8_t Frame::ComputeBcc() const {
    std::uint8_t bcc = m_length ^ m_command ^ m_status;
    for (std::uint8_t b : m_params) {
        bcc ^= b;
    }
    for (std::uint8_t b : m_data) {
        bcc ^= b;
    }
    return bcc;
}

AccessStart::AccessStart() : Frame(kCmdAccessStart, {0x00, 0x00, 0x00, 0x10}) {}

AccessEnd::AccessEnd() : Frame(kCmdAccessEnd, {0x00, 0x00, 0x00, 0x00}) {}

SingleAccessRead::SingleAccessRead(std::int32_t address, std::uint8_t size)
    : Frame(kCmdSingleAccess, SingleParams(address, 0x00, size)), m_address(address), m_size(size) {
}

SingleAccessWrite::SingleAccessWrite(std::int32_t address, std::span<const std::uint8_t> bytes)
    : Frame(kCmdSingleAccess,
            SingleParams(address, kWriteDirection, static_cast<std::uint8_t>(bytes.size())), bytes),
      m_address(address), m_size(static_cast<std::uint8_t>(bytes.size())) {}

SingleAccessLongRead::SingleAccessLongRead(std::int32_t address, std::uint16_t size)
    : Frame(kCmdLongRead,
            {Byte(static_cast<std::uint32_t>(address), 24),
             Byte(static_cast<std::uint32_t>(address), 16),
             Byte(static_cast<std::uint32_t>(address), 8),
             Byte(static_cast<std::uint32_t>(address), 0)},
            std::array<std::uint8_t, 2>{Byte(size, 8), Byte(size, 0)}),
      m_address(address), m_size(size) {}

void FrameReceiveStd::Receive(std::span<const std::uint8_t> bytes) {
    const std::size_t n = bytes.size();
    m_length = 0;
    m_data.clear();
    m_status = 0;
    if (n < kStdFrameOverhead) {
        return;
    }
    m_length = bytes[0];
    m_command = bytes[1];
    std::copy_n(bytes.begin() + 2, 4, m_params.begin());
    m_data.assign(bytes.begin() + 6, bytes.end() - 2);
    m_status = bytes[n - 2];
    m_bcc = bytes[n - 1];
}

ResponseResult FrameReceiveStd::Classify(std::uint8_t requestCommand) const {
    if (m_length == 0) {
        return ResponseResult::SIZE_ILLEGAL;
    }
    if (ComputeBcc() != m_bcc) {
        return ResponseResult::BCC_MISMATCH;
    }
    if (m_command != ResponseCommand(requestCommand)) {
        return ResponseResult::CMD_MISMATCH;
    }
    return ByStatus(m_status);
}

void FrameReceiveStd::CopyPayload(std::span<std::uint8_t> destination) const {
    if (m_data.size() != destination.size()) {
        throw DeviceError(kErrPayloadStd);
    }
    std::copy(m_data.begin(), m_data.end(), destination.begin());
}

void FrameReceiveExt::Receive(std::span<const std::uint8_t> bytes) {
    m_buffer.clear();
    m_status = 0;
    if (bytes.size() % 2 != 0) {
        return;
    }
    m_buffer.assign(bytes.begin(), bytes.end());
    m_status = bytes.size() >= kExtMinLength ? bytes[bytes.size() - 5] : 0;
}

ResponseResult FrameReceiveExt::Classify(std::uint8_t requestCommand) const {
    const std::size_t n = m_buffer.size();
    if (n < static_cast<std::size_t>(m_minLength)) {
        return ResponseResult::SIZE_ILLEGAL;
    }
    std::uint8_t even = 0;
    std::uint8_t odd = 0;
    for (std::size_t i = 2; i <= n - 5; ++i) {
        (i % 2 == 0 ? even : odd) ^= m_buffer[i];
    }
    if (m_buffer[n - 4] != even || m_buffer[n - 3] != odd || m_buffer[n - 2] != m_buffer[0] ||
        m_buffer[n - 1] != m_buffer[1]) {
        return ResponseResult::BCC_MISMATCH;
    }
    if (m_buffer[4] != ResponseCommand(requestCommand)) {
        return ResponseResult::CMD_MISMATCH;
    }
    return ByStatus(m_status);
}

std::span<const std::uint8_t> FrameReceiveExt::Payload() const {
    if (m_buffer.size() < kExtOverhead) {
        return {};
    }
    return std::span<const std::uint8_t>(m_buffer).subspan(kExtPayloadOffset,
                                                           m_buffer.size() - kExtOverhead);
}

void FrameReceiveExt::CopyPayload(std::span<std::uint8_t> destination) const {
    if (m_buffer.size() < kExtOverhead || Payload().size() != destination.size()) {
        throw DeviceError(kErrPayloadExt);
    }
    const auto payload = Payload();
    std::copy(payload.begin(), payload.end(), destination.begin());
}

std::vector<std::uint8_t> BuildStandardResponse(std::uint8_t requestCommand,
                                                std::span<const std::uint8_t> payload,
                                                std::uint8_t status) {
    std::vector<std::uint8_t> out;
    Frame(ResponseCommand(requestCommand), {0, 0, 0, 0}, payload, status).Serialize(out);
    return out;
}

std::vector<std::uint8_t> BuildExtendedResponse(std::uint8_t requestCommand,
                                                std::span<const std::uint8_t> payload,
                                                std::uint8_t status, std::uint8_t marker) {
    if (payload.size() > kMaxExtPayload) {
        throw std::invalid_argument("extended payload too long");
    }
    const std::size_t n = payload.size() + kExtOverhead;
    std::vector<std::uint8_t> out(n, 0);
    out[0] = kExtendedMark;
    out[1] = marker;
    out[2] = Byte(static_cast<std::uint32_t>(n - 4), 8);
    out[3] = Byte(static_cast<std::uint32_t>(n - 4), 0);
    out[4] = ResponseCommand(requestCommand);
    std::copy(payload.begin(), payload.end(), out.begin() + kExtPayloadOffset);
    out[n - 5] = status;
    std::uint8_t even = 0;
    std::uint8_t odd = 0;
    for (std::size_t i = 2; i <= n - 5; ++i) {
        (i % 2 == 0 ? even : odd) ^= out[i];
    }
    out[n - 4] = even;
    out[n - 3] = odd;
    out[n - 2] = kExtendedMark;
    out[n - 1] = marker;
    return out;
}

std::string_view ResponseResultName(ResponseResult result) {
    switch (result) {
    case ResponseResult::OK:
        return "OK";
    case ResponseResult::SIZE_ILLEGAL:
        return "SIZE_ILLEGAL";
    case ResponseResult::BCC_MISMATCH:
        return "BCC_MISMATCH";
    case ResponseResult::CMD_MISMATCH:
        return "CMD_MISMATCH";
    case ResponseResult::ERR_RESPONSE_RETRIABLE:
        return "ERR_RESPONSE_RETRIABLE";
    case ResponseResult::ERR_RESPONSE_NORETRY:
        return "ERR_RESPONSE_NORETRY";
    case ResponseResult::EXCEPTION:
        return "EXCEPTION";
    }
    return "Unknow";
}

} // namespace device
