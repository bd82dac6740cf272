// The frames of the device protocol: request frames with their wire form and
// check byte, and the two receivers that parse and classify a response.
//
//   standard frame:  length | command | params[4] | data[n] | status | bcc
//   extended reply:  FE | M | L(2, BE) | cmd | hdr[6] | payload | status | E | O | FE | M
//
// length = 8 + n; bcc = XOR of every byte before it. In the extended form
// N = L + 4 bytes in all; E and O are the XOR of the bytes at even and odd
// offsets from 2 up to the status byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace device {

inline constexpr std::uint8_t kCmdAccessStart = 0x00;
inline constexpr std::uint8_t kCmdSingleAccess = 0x01;
inline constexpr std::uint8_t kCmdLongRead = 0x02;
inline constexpr std::uint8_t kCmdAccessEnd = 0x0F;
// A response carries the request's command with this bit added.
inline constexpr std::uint8_t kResponseBit = 0x80;
inline constexpr std::uint8_t kExtendedMark = 0xFE;
// The refusal the device does not want repeated.
inline constexpr std::uint8_t kStatusNoRetry = 0xE6;

inline constexpr std::size_t kStdFrameOverhead = 8;
inline constexpr std::size_t kMaxStdData = 255 - kStdFrameOverhead;
inline constexpr std::size_t kExtMinLength = 16;
inline constexpr std::size_t kExtPayloadOffset = 11;
inline constexpr std::size_t kExtOverhead = 16;
inline constexpr std::size_t kMaxExtPayload = 0xFFFF + 4 - kExtOverhead;

// The outcome of classifying one response against its request.
enum class ResponseResult : int {
    OK = 0,
    SIZE_ILLEGAL = 1,
    BCC_MISMATCH = 2,
    CMD_MISMATCH = 3,
    ERR_RESPONSE_RETRIABLE = 4,
    ERR_RESPONSE_NORETRY = 5,
    EXCEPTION = 6,
};

// The memory range a single or long access names; shown in the log.
struct AccessTarget {
    std::int32_t address = 0;
    std::uint32_t size = 0;
};

// A standard frame. Complete after construction: length and check byte are
// computed from the fields.
class Frame {
public:
    Frame(std::uint8_t command, const std::array<std::uint8_t, 4>& params,
          std::span<const std::uint8_t> data = {}, std::uint8_t status = 0);
    virtual ~Frame() = default;

    // Replaces the buffer's content with the wire bytes.
    void Serialize(std::vector<std::uint8_t>& out) const;
    // XOR of every wire byte except the check byte itself.
    std::uint8_t ComputeBcc() const;

    virtual std::string_view ClassName() const { return "Frame"; }
    // The address and size of a memory access; none for the other frames.
    virtual std::optional<AccessTarget> Target() const { return std::nullopt; }

    std::uint8_t Length() const { return m_length; }
    std::uint8_t Command() const { return m_command; }
    const std::array<std::uint8_t, 4>& Params() const { return m_params; }
    std::span<const std::uint8_t> Data() const { return m_data; }
    std::uint8_t StatusByte() const { return m_status; }
    std::uint8_t Bcc() const { return m_bcc; }

protected:
    Frame() = default;

    std::uint8_t m_length = 0;
    std::uint8_t m_command = 0;
    std::array<std::uint8_t, 4> m_params{};
    std::vector<std::uint8_t> m_data;
    std::uint8_t m_status = 0;
    std::uint8_t m_bcc = 0;
};

class AccessStart : public Frame {
public:
    AccessStart();
    std::string_view ClassName() const override { return "AccessStart"; }
};

class AccessEnd : public Frame {
public:
    AccessEnd();
    std::string_view ClassName() const override { return "AccessEnd"; }
};

// Reads up to 255 bytes from a 20-bit address.
class SingleAccessRead : public Frame {
public:
    SingleAccessRead(std::int32_t address, std::uint8_t size);
    std::string_view ClassName() const override { return "SingleAccessRead"; }
    std::optional<AccessTarget> Target() const override { return AccessTarget{m_address, m_size}; }

private:
    std::int32_t m_address;
    std::uint8_t m_size;
};

// Writes up to kMaxStdData bytes to a 20-bit address; more throws
// std::invalid_argument, since the length byte could not describe the frame.
class SingleAccessWrite : public Frame {
public:
    SingleAccessWrite(std::int32_t address, std::span<const std::uint8_t> bytes);
    std::string_view ClassName() const override { return "SingleAccessWrite"; }
    std::optional<AccessTarget> Target() const override { return AccessTarget{m_address, m_size}; }

private:
    std::int32_t m_address;
    std::uint8_t m_size;
};

// Reads up to 65535 bytes from a 32-bit address; answered in the extended form.
class SingleAccessLongRead : public Frame {
public:
    SingleAccessLongRead(std::int32_t address, std::uint16_t size);
    std::string_view ClassName() const override { return "SingleAccessLongRead"; }
    std::optional<AccessTarget> Target() const override { return AccessTarget{m_address, m_size}; }

private:
    std::int32_t m_address;
    std::uint16_t m_size;
};

// A parser of one complete received response.
class IReceivable {
public:
    virtual ~IReceivable() = default;

    // Takes the whole response, first byte included. A response too short
    // (or of the wrong shape) to be stored leaves the receiver empty.
    virtual void Receive(std::span<const std::uint8_t> bytes) = 0;
    // Never returns EXCEPTION.
    virtual ResponseResult Classify(std::uint8_t requestCommand) const = 0;
    // Copies the payload; throws DeviceError when its length is not exactly
    // the destination's size.
    virtual void CopyPayload(std::span<std::uint8_t> destination) const = 0;
    // The response's status byte, 0 when nothing was stored.
    virtual std::uint8_t Status() const = 0;
    virtual std::string_view ClassName() const = 0;
};

// A standard response, held in the frame fields.
class FrameReceiveStd : public Frame, public IReceivable {
public:
    FrameReceiveStd() = default;

    void Receive(std::span<const std::uint8_t> bytes) override;
    ResponseResult Classify(std::uint8_t requestCommand) const override;
    void CopyPayload(std::span<std::uint8_t> destination) const override;
    std::uint8_t Status() const override { return m_status; }
    std::string_view ClassName() const override { return "FrameReceiveStd"; }
};

// An extended response, held as received.
class FrameReceiveExt : public IReceivable {
public:
    void Receive(std::span<const std::uint8_t> bytes) override;
    ResponseResult Classify(std::uint8_t requestCommand) const override;
    void CopyPayload(std::span<std::uint8_t> destination) const override;
    std::uint8_t Status() const override { return m_status; }
    std::string_view ClassName() const override { return "FrameReceiveExt"; }

    // Bytes 11 to N-6; empty when nothing was stored.
    std::span<const std::uint8_t> Payload() const;

private:
    std::int32_t m_minLength = static_cast<std::int32_t>(kExtMinLength);
    std::vector<std::uint8_t> m_buffer;
    std::uint8_t m_status = 0;
};

// The wire bytes of a standard response to a request with this command
// (the device side, for simulators and tests). The payload is at most
// kMaxStdData bytes, else std::invalid_argument.
std::vector<std::uint8_t> BuildStandardResponse(std::uint8_t requestCommand,
                                                std::span<const std::uint8_t> payload,
                                                std::uint8_t status);
// The wire bytes of an extended response; marker is the byte M that the
// trailer repeats. The payload is at most kMaxExtPayload bytes, else
// std::invalid_argument.
std::vector<std::uint8_t> BuildExtendedResponse(std::uint8_t requestCommand,
                                                std::span<const std::uint8_t> payload,
                                                std::uint8_t status, std::uint8_t marker);

// The log's name of a result ("BCC_MISMATCH"); "Unknow" for other values.
std::string_view ResponseResultName(ResponseResult result);

} // namespace device
