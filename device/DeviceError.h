// The one exception type of the device link: its text is the short error
// code ("RX001") that the log records and the workflows switch on; a port
// that cannot be opened also carries the system's reason.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace device {

inline constexpr std::string_view kErrOpen = "OP001";
inline constexpr std::string_view kErrTransmit = "TX001";
inline constexpr std::string_view kErrReceive = "RX001";
// A response whose first byte is 0, which describes no frame at all.
inline constexpr std::string_view kErrNoLength = "RX002";
inline constexpr std::string_view kErrResponse = "RAR001";
inline constexpr std::string_view kErrPayloadStd = "GD001";
inline constexpr std::string_view kErrPayloadExt = "GD002";
inline constexpr std::string_view kErrCreateFile = "SF001";
inline constexpr std::string_view kErrWriteFile = "SF002";
inline constexpr std::string_view kErrDiskFull = "SF003";
// A clock write for a time the device cannot hold (before 2000 or after 2255).
inline constexpr std::string_view kErrClockRange = "CK001";

class DeviceError : public std::runtime_error {
public:
    explicit DeviceError(std::string_view code, int systemError = 0)
        : std::runtime_error(std::string(code)), m_nSystemError(systemError) {}

    std::string_view Code() const { return what(); }
    // The errno behind an "OP001"; 0 for the other codes.
    int SystemError() const { return m_nSystemError; }

private:
    int m_nSystemError;
};

} // namespace device
