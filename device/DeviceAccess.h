// One device operation's link to the device: the serial port, the
// request/response transaction with its retries, and the memory operations
// the workflows are built from. Used by one thread from construction to
// destruction; every failure is a DeviceError.
#pragma once

#include "device/CommLog.h"
#include "device/DeviceBlocks.h"
#include "device/DeviceLink.h"
#include "device/Frame.h"
#include "platform/SerialPort.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace device {

inline constexpr int kExchangeAttempts = 3;

class DeviceAccess {
public:
    // With the process-wide link settings and log.
    DeviceAccess();
    DeviceAccess(DeviceLinkConfig config, CommLog& log);
    // Closes the port as Close does, without raising.
    ~DeviceAccess();
    DeviceAccess(const DeviceAccess&) = delete;
    DeviceAccess& operator=(const DeviceAccess&) = delete;

    // Port layer. Open starts a log file for the port and raises "OP001"
    // with the system's reason (the port and the log closed again, the
    // reason logged) when the port cannot be opened and configured.
    void Open(const std::string& portName);
    // Closes the port and, when a port was held, the log.
    void Close();
    bool IsOpen() const { return m_port.IsOpen(); }
    // Appends exactly n bytes to the buffer; "RX001" when fewer arrive,
    // after dumping what the buffer holds then.
    void ReadExact(std::vector<std::uint8_t>& buffer, std::size_t n);
    // "TX001" when not all bytes could be sent.
    void WriteAll(std::span<const std::uint8_t> bytes);
    bool SetWriteTimeout(std::uint32_t ms);

    // One transaction of up to three attempts; returns only when the device
    // answered OK. An empty destination takes no payload; otherwise the
    // payload must fill it exactly ("GD001"/"GD002", not retried). A
    // refusal (0xE6) ends at once with "RAR001", as does a third bad answer;
    // a third failed attempt raises its own error ("RX001", "TX001").
    void Exchange(const Frame& request, std::span<std::uint8_t> destination = {});

    // Memory operations. The write operations change the block in place
    // into the image they send.
    void StartAccess();
    void EndAccess();
    void ReadRecordIndex(ControlBlock destination);
    void ReadDeviceStatus(ControlBlock destination);
    void WriteDeviceSettings(ControlBlock status, std::uint8_t settings);
    // Raises "CK001" before sending anything when the device cannot hold the time.
    void WriteDeviceClock(ControlBlock status, std::int64_t time);
    void ClearRecordCount(ControlBlock index, std::uint8_t count);
    // Recording i, 0 the newest, of the slots the index block describes.
    void ReadRecordBlock(int i, ConstControlBlock index,
                         std::span<std::uint8_t, kRecordBlockSize> destination);

private:
    DeviceLinkConfig m_config;
    CommLog* m_pLog;
    platform::CSerialPort m_port;
};

} // namespace device
