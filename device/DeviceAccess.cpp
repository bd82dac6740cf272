#include "device/DeviceAccess.h"

#include "device/DeviceError.h"

#include <cstring>
#include <memory>
#include <utility>

namespace device {
namespace {

// Room beyond the payload for the frame around it, so that a record read
// never reallocates while its response arrives.
constexpr std::size_t kReceiveSlack = 64;
constexpr std::size_t kExtHeaderRest = 3;

} // namespace

DeviceAccess::DeviceAccess() : DeviceAccess(GetDeviceLinkConfig(), CommLog::Instance()) {}

DeviceAccess::DeviceAccess(DeviceLinkConfig config, CommLog& log)
    : m_config(std::move(config)), m_pLog(&log) {}

DeviceAccess::~DeviceAccess() {
    Close();
}

void DeviceAccess::Open(const std::string& portName) {
    m_pLog->OpenLog(portName, m_config.logFolder);
    if (!m_port.Open(portName, m_config.baudRate, m_config.receiveTimeoutMs,
                     m_config.writeTimeoutMs)) {
        const int reason = m_port.OpenError();
        const char* name = ::strerrorname_np(reason);
        m_pLog->LogException(std::string("open failure (") + std::string(kErrOpen) + ", " +
                             (name != nullptr ? name : std::to_string(reason)) + ").");
        m_pLog->CloseLog();
        throw DeviceError(kErrOpen, reason);
    }
}

void DeviceAccess::Close() {
    if (!m_port.IsOpen()) {
        return;
    }
    m_port.Close();
    m_pLog->CloseLog();
}

void DeviceAccess::ReadExact(std::vector<std::uint8_t>& buffer, std::size_t n) {
    if (n == 0) {
        return;
    }
    const std::size_t start = buffer.size();
    buffer.resize(start + n);
    const auto wanted = std::span<std::uint8_t>(buffer).subspan(start);
    std::size_t total = 0;
    // Each read waits at most the receive time-out; a response that pauses
    // mid-way gets a fresh wait for its rest.
    while (total < n) {
        const long got = m_port.Read(wanted.subspan(total));
        if (got <= 0) {
            break;
        }
        total += static_cast<std::size_t>(got);
    }
    buffer.resize(start + total);
    if (total < n) {
        m_pLog->LogRx(buffer);
        throw DeviceError(kErrReceive);
    }
}

void DeviceAccess::WriteAll(std::span<const std::uint8_t> bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const long put = m_port.Write(bytes.subspan(sent));
        if (put <= 0) {
            break;
        }
        sent += static_cast<std::size_t>(put);
    }
    if (sent < bytes.size()) {
        throw DeviceError(kErrTransmit);
    }
}

bool DeviceAccess::SetWriteTimeout(std::uint32_t ms) {
    return m_port.SetWriteTimeout(ms);
}

void DeviceAccess::Exchange(const Frame& request, std::span<std::uint8_t> destination) {
    std::vector<std::uint8_t> received;
    received.reserve(destination.size() + kReceiveSlack);
    std::vector<std::uint8_t> wire;
    std::unique_ptr<IReceivable> taken;
    ResponseResult result = ResponseResult::EXCEPTION;
    std::string lastError;

    for (int attempt = 1; attempt <= kExchangeAttempts; ++attempt) {
        taken.reset();
        try {
            m_pLog->LogRequest(request);
            request.Serialize(wire);
            m_pLog->LogTx(wire);
            // Bytes that came late for an earlier attempt must not be read
            // as the start of this one's answer.
            m_port.DiscardInput();
            WriteAll(wire);

            received.clear();
            ReadExact(received, 1);
            std::size_t rest = 0;
            if (received[0] == kExtendedMark) {
                ReadExact(received, kExtHeaderRest);
                rest = static_cast<std::size_t>(received[2]) * 256 + received[3];
                taken = std::make_unique<FrameReceiveExt>();
            } else if (received[0] == 0) {
                m_pLog->LogRx(received);
                throw DeviceError(kErrNoLength);
            } else {
                rest = static_cast<std::size_t>(received[0]) - 1;
                taken = std::make_unique<FrameReceiveStd>();
            }
            ReadExact(received, rest);
            m_pLog->LogRx(received);

            taken->Receive(received);
            result = taken->Classify(request.Command());
            m_pLog->LogResponse(*taken, result, taken->Status());
        } catch (const DeviceError& error) {
            lastError = error.Code();
            m_pLog->LogException(lastError);
            result = ResponseResult::EXCEPTION;
        }
        if (result == ResponseResult::OK || result == ResponseResult::ERR_RESPONSE_NORETRY) {
            break;
        }
    }

    if (result == ResponseResult::EXCEPTION) {
        throw DeviceError(lastError);
    }
    if (result != ResponseResult::OK) {
        throw DeviceError(kErrResponse);
    }
    if (!destination.empty()) {
        taken->CopyPayload(destination);
    }
}

} // namespace device
