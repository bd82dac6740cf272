// The communication log of the device link: one text file per opening of a
// port, with every request, the raw bytes both ways as hex dumps, each
// response's classification and every error, for service.
#pragma once

#include "device/Frame.h"
#include "platform/UniqueFd.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace device {

enum class LogKind : int {
    Info = 0,
    Request = 1,
    Response = 2,
    Rx = 3,
    Tx = 4,
    Exception = 5,
};

// Every call but OpenLog does nothing while the log is closed. The log has
// no lock: device operations never run at the same time.
class CommLog {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    // The process-wide log that every device operation writes to.
    static CommLog& Instance();

    explicit CommLog(Clock clock = std::chrono::system_clock::now);
    CommLog(const CommLog&) = delete;
    CommLog& operator=(const CommLog&) = delete;

    // Closes a log still open, then, when the folder is set and can be made
    // (one level), shifts the port's older files up one generation and
    // starts a fresh PORT_00.txt. An unusable folder leaves the log closed.
    void OpenLog(std::string_view portName, const std::string& folder);
    void CloseLog();
    bool IsOpen() const { return m_file.IsValid(); }

    // One time-stamped line.
    void WriteLine(std::string_view text, LogKind kind);

    void LogRequest(const Frame& request);
    void LogResponse(const IReceivable& receiver, ResponseResult result, std::uint8_t status);
    void LogTx(std::span<const std::uint8_t> bytes);
    void LogRx(std::span<const std::uint8_t> bytes);
    void LogException(std::string_view error);

    // The file name stem of a port: the device name below /dev/ with every
    // '/' made '-' ("/dev/pts/3" gives "pts-3").
    static std::string PortFileStem(std::string_view portName);

private:
    void LogDump(std::span<const std::uint8_t> bytes, LogKind kind);
    void Append(std::string_view text);

    Clock m_clock;
    platform::CUniqueFd m_file;
};

} // namespace device
