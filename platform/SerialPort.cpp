#include "platform/SerialPort.h"

#include "platform/SerialBaudRate.h"
#include "platform/UniqueFd.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <utility>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// The termios speed constant for a rate of the classic table, or B0 when
// the rate needs termios2.
speed_t StandardSpeed(std::uint32_t baudRate) {
    switch (baudRate) {
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
    case 460800:
        return B460800;
    case 500000:
        return B500000;
    case 921600:
        return B921600;
    case 1000000:
        return B1000000;
    case 1500000:
        return B1500000;
    case 2000000:
        return B2000000;
    case 3000000:
        return B3000000;
    case 4000000:
        return B4000000;
    default:
        return B0;
    }
}

bool ConfigureLine(int fd, std::uint32_t baudRate) {
    // Speed 0 would mean "hang up" to the driver.
    if (baudRate == 0) {
        errno = EINVAL;
        return false;
    }
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0)
        return false;
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    // Reads are bounded by poll, so the driver itself never waits.
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    const speed_t speed = StandardSpeed(baudRate);
    if (speed != B0 && ::cfsetspeed(&settings, speed) != 0)
        return false;
    if (::tcsetattr(fd, TCSANOW, &settings) != 0)
        return false;
    return speed != B0 || SetCustomBaudRate(fd, baudRate);
}

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits until the descriptor is ready for `events` or the deadline has
// passed. 1 ready, 0 time-out, -1 the line failed (hang-up, error).
int WaitReady(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, MillisecondsLeft(deadline));
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (ready == 0)
            return 0;
        if ((entry.revents & events) != 0)
            return 1;
        return -1; // POLLHUP, POLLERR or POLLNVAL without the wanted event
    }
}

} // namespace

CSerialPort::~CSerialPort() {
    Close();
}

bool CSerialPort::Open(const std::string& path, std::uint32_t baudRate, std::uint32_t readTimeoutMs,
                       std::uint32_t writeTimeoutMs) {
    Close();
    auto fail = [this](int error) {
        m_nOpenError = error != 0 ? error : EIO;
        return false;
    };
    // O_NONBLOCK: the open must not wait for a carrier, and every transfer
    // below is bounded by poll anyway.
    CUniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.IsValid())
        return fail(errno);
    if (!::isatty(fd.Get()))
        return fail(ENOTTY);
    // The advisory lock holds even against the superuser, whom the
    // kernel's exclusive flag lets through. Taking it before the flag is
    // set means a set flag always has a holder of the lock behind it.
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0)
        return fail(errno);
    if (::ioctl(fd.Get(), TIOCEXCL) != 0)
        return fail(errno);
    if (!ConfigureLine(fd.Get(), baudRate))
        return fail(errno);
    if (::tcflush(fd.Get(), TCIOFLUSH) != 0)
        return fail(errno);
    // Not every line has modem control (a pseudo-terminal has none); the
    // device works without RTS as well, so a refusal is not an error.
    int rts = TIOCM_RTS;
    (void)::ioctl(fd.Get(), TIOCMBIS, &rts);
    m_fd = fd.Detach();
    m_nOpenError = 0;
    m_nReadTimeoutMs = readTimeoutMs;
    m_nWriteTimeoutMs = writeTimeoutMs;
    return true;
}

void CSerialPort::Close() {
    if (m_fd < 0)
        return;
    // The exclusive flag outlives the descriptor on a line that someone
    // else keeps open (a pseudo-terminal's other side); leave it clear.
    (void)::ioctl(m_fd, TIOCNXCL);
    ::close(std::exchange(m_fd, -1));
}

long CSerialPort::Read(std::span<std::uint8_t> buffer) {
    if (m_fd < 0)
        return -1;
    const auto deadline = Clock::now() + std::chrono::milliseconds(m_nReadTimeoutMs);
    std::size_t total = 0;
    while (total < buffer.size()) {
        const int ready = WaitReady(m_fd, POLLIN, deadline);
        if (ready == 0)
            break;
        if (ready > 0) {
            const ssize_t got = ::read(m_fd, buffer.data() + total, buffer.size() - total);
            if (got > 0) {
                total += static_cast<std::size_t>(got);
                continue;
            }
            if (got < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
        }
        // The line failed; what arrived before still belongs to the caller.
        return total > 0 ? static_cast<long>(total) : -1;
    }
    return static_cast<long>(total);
}

long CSerialPort::Write(std::span<const std::uint8_t> bytes) {
    if (m_fd < 0)
        return -1;
    const auto deadline = Clock::now() + std::chrono::milliseconds(m_nWriteTimeoutMs);
    std::size_t total = 0;
    while (total < bytes.size()) {
        const int ready = WaitReady(m_fd, POLLOUT, deadline);
        if (ready == 0)
            break;
        if (ready > 0) {
            const ssize_t put = ::write(m_fd, bytes.data() + total, bytes.size() - total);
            if (put > 0) {
                total += static_cast<std::size_t>(put);
                continue;
            }
            if (put < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
        }
        return total > 0 ? static_cast<long>(total) : -1;
    }
    return static_cast<long>(total);
}

bool CSerialPort::SetWriteTimeout(std::uint32_t ms) {
    if (m_fd < 0)
        return false;
    m_nWriteTimeoutMs = ms;
    return true;
}

void CSerialPort::DiscardInput() {
    if (m_fd >= 0)
        ::tcflush(m_fd, TCIFLUSH);
}

} // namespace platform
