#include "device/sim/SimServer.h"

#include "device/Frame.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace device::sim {

namespace {

using Clock = std::chrono::steady_clock;

// How often an idle server looks for an exclusive flag left behind.
constexpr int kIdleTickMs = 50;
// A request whose bytes stop coming for this long is dropped, so one lost
// byte cannot shift every later frame.
constexpr auto kInterByteTimeout = std::chrono::milliseconds(200);
// A program that stops reading must not hold the server forever.
constexpr auto kWriteTimeout = std::chrono::seconds(3);

} // namespace

CSimServer::CSimServer(CSimDevice device) : m_device(std::move(device)) {}

CSimServer::~CSimServer() {
    Stop();
}

void CSimServer::SetChangeHandler(std::function<void(const SimMemory&)> handler) {
    m_onChange = std::move(handler);
}

bool CSimServer::Start() {
    if (m_thread.joinable())
        return true;
    m_pty = platform::CPseudoTerminal::Create();
    int pipeFds[2];
    if (!m_pty || ::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    m_wakeRead = platform::CUniqueFd(pipeFds[0]);
    m_wakeWrite = platform::CUniqueFd(pipeFds[1]);
    // Writes wait in poll with a deadline instead of in the driver.
    const int flags = ::fcntl(m_pty->MasterFd(), F_GETFL);
    if (flags < 0 || ::fcntl(m_pty->MasterFd(), F_SETFL, flags | O_NONBLOCK) != 0)
        return false;
    m_strPortName = m_pty->SlavePath();
    m_thread = std::thread([this] { Serve(); });
    return true;
}

void CSimServer::Stop() {
    if (!m_thread.joinable())
        return;
    const char wake = 1;
    // One byte into an empty pipe cannot block or fall short.
    [[maybe_unused]] const ssize_t written = ::write(m_wakeWrite.Get(), &wake, 1);
    m_thread.join();
}

SimMemory CSimServer::MemorySnapshot() const {
    const std::lock_guard lock(m_mutex);
    return m_device.Memory();
}

unsigned CSimServer::Exchanges() const {
    const std::lock_guard lock(m_mutex);
    return m_device.Exchanges();
}

void CSimServer::Serve() {
    std::vector<std::uint8_t> pending;
    Clock::time_point lastByte = Clock::now();
    bool unplug = false;
    while (!unplug) {
        pollfd fds[2] = {{m_pty->MasterFd(), POLLIN, 0}, {m_wakeRead.Get(), POLLIN, 0}};
        const int ready = ::poll(fds, 2, kIdleTickMs);
        if (ready < 0 && errno != EINTR)
            break;
        if ((fds[1].revents & POLLIN) != 0)
            return;
        if ((fds[0].revents & POLLIN) != 0) {
            std::uint8_t buffer[4096];
            const ssize_t got = ::read(m_pty->MasterFd(), buffer, sizeof buffer);
            if (got > 0) {
                pending.insert(pending.end(), buffer, buffer + got);
                lastByte = Clock::now();
                ServeFrames(pending, unplug);
            }
            continue;
        }
        if (!pending.empty() && Clock::now() - lastByte > kInterByteTimeout)
            pending.clear();
        // Between sessions: a program that ended without closing the port
        // must not lock the next one out.
        m_pty->ClearStaleExclusive();
    }
    if (unplug) {
        // Set first: whoever sees the line fail may ask at once.
        m_bUnplugged = true;
        m_pty->Close();
    }
}

void CSimServer::ServeFrames(std::vector<std::uint8_t>& pending, bool& unplug) {
    while (!pending.empty() && !unplug) {
        const std::size_t length = pending.front();
        // No frame is shorter than its fixed fields: this byte cannot start
        // one, so look for the start in the next.
        if (length < kStdFrameOverhead) {
            pending.erase(pending.begin());
            continue;
        }
        if (pending.size() < length)
            return;
        const std::vector<std::uint8_t> request(pending.begin(),
                                                pending.begin() + static_cast<long>(length));
        pending.erase(pending.begin(), pending.begin() + static_cast<long>(length));
        SimReply reply;
        std::optional<SimMemory> changed;
        {
            const std::lock_guard lock(m_mutex);
            reply = m_device.Handle(request);
            if (m_device.TakeChanged())
                changed = m_device.Memory();
        }
        if (reply.unplug) {
            unplug = true;
            return;
        }
        if (!reply.bytes.empty())
            WriteReply(reply.bytes);
        if (changed && m_onChange)
            m_onChange(*changed);
    }
}

bool CSimServer::WriteReply(const std::vector<std::uint8_t>& bytes) {
    const auto deadline = Clock::now() + kWriteTimeout;
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd fds[2] = {{m_pty->MasterFd(), POLLOUT, 0}, {m_wakeRead.Get(), POLLIN, 0}};
        if (::poll(fds, 2, static_cast<int>(left)) < 0 && errno != EINTR)
            return false;
        if ((fds[1].revents & POLLIN) != 0)
            return false;
        if ((fds[0].revents & POLLOUT) == 0)
            continue;
        const ssize_t put = ::write(m_pty->MasterFd(), bytes.data() + sent, bytes.size() - sent);
        if (put > 0)
            sent += static_cast<std::size_t>(put);
        else if (put < 0 && errno != EAGAIN && errno != EINTR)
            return false;
    }
    return true;
}

} // namespace device::sim
