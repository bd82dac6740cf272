// A serial line opened for the device protocol: exclusive, raw 8N1 without
// flow control at a chosen baud rate, RTS raised, queues flushed; every read
// and write is bounded by a total time-out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace platform {

class CSerialPort {
public:
    CSerialPort() = default;
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens and configures the tty node (e.g. /dev/ttyACM0, /dev/pts/3).
    // False on any failure, with the port closed; OpenError() then tells
    // why.
    bool Open(const std::string& path, std::uint32_t baudRate, std::uint32_t readTimeoutMs,
              std::uint32_t writeTimeoutMs);
    // The errno of the step where the last Open failed: EACCES without
    // permission, EBUSY or EWOULDBLOCK while another program holds the
    // port, ENOENT or ENXIO for a port that is gone, ENOTTY for a node that
    // is no serial line.
    int OpenError() const { return m_nOpenError; }
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    // Blocks until the buffer is full or the read time-out has passed since
    // the call began. The number of bytes read (0 after a time-out with
    // nothing), or -1 when the line failed (unplugged, I/O error).
    long Read(std::span<std::uint8_t> buffer);
    // The same for writing, bounded by the write time-out.
    long Write(std::span<const std::uint8_t> bytes);

    bool SetWriteTimeout(std::uint32_t ms);
    // Drops whatever has arrived and not been read yet.
    void DiscardInput();

private:
    int m_fd = -1;
    int m_nOpenError = 0;
    std::uint32_t m_nReadTimeoutMs = 0;
    std::uint32_t m_nWriteTimeoutMs = 0;
};

} // namespace platform
