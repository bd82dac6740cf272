// Runs a simulated device on a pseudo-terminal: a thread reads request
// frames from the master side, lets the device answer them and writes the
// answers back, until it is stopped or the device "unplugs".
#pragma once

#include "device/sim/SimDevice.h"
#include "platform/PseudoTerminal.h"
#include "platform/UniqueFd.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace device::sim {

class CSimServer {
public:
    explicit CSimServer(CSimDevice device);
    // Stops the thread first.
    ~CSimServer();
    CSimServer(const CSimServer&) = delete;
    CSimServer& operator=(const CSimServer&) = delete;

    // Called on the serving thread after a request changed the device's
    // memory, with the memory as it is now. Set before Start.
    void SetChangeHandler(std::function<void(const SimMemory&)> handler);

    // Opens the pseudo-terminal and starts serving. False when no
    // pseudo-terminal could be had.
    bool Start();
    // Ends the thread; safe to call more than once.
    void Stop();

    // The port to open: the slave side's /dev/pts/N.
    const std::string& PortName() const { return m_strPortName; }
    // True once the device has unplugged itself (the thread has ended).
    bool IsUnplugged() const { return m_bUnplugged.load(); }

    SimMemory MemorySnapshot() const;
    unsigned Exchanges() const;

private:
    void Serve();
    void ServeFrames(std::vector<std::uint8_t>& pending, bool& unplug);
    bool WriteReply(const std::vector<std::uint8_t>& bytes);

    mutable std::mutex m_mutex; // guards m_device
    CSimDevice m_device;
    std::function<void(const SimMemory&)> m_onChange;
    std::optional<platform::CPseudoTerminal> m_pty;
    std::string m_strPortName;
    platform::CUniqueFd m_wakeRead;
    platform::CUniqueFd m_wakeWrite;
    std::thread m_thread;
    std::atomic<bool> m_bUnplugged{false};
};

} // namespace device::sim
