#include "platform/PseudoTerminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <array>

namespace platform {

std::optional<CPseudoTerminal> CPseudoTerminal::Create() {
    CPseudoTerminal pty;
    pty.m_master = CUniqueFd(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!pty.m_master.IsValid() || ::grantpt(pty.MasterFd()) != 0 ||
        ::unlockpt(pty.MasterFd()) != 0)
        return std::nullopt;
    std::array<char, 128> name{};
    if (::ptsname_r(pty.MasterFd(), name.data(), name.size()) != 0)
        return std::nullopt;
    pty.m_strSlavePath = name.data();
    pty.m_slave = CUniqueFd(::open(name.data(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!pty.m_slave.IsValid())
        return std::nullopt;
    // Until the program opens the port the slave keeps the terminal
    // defaults, whose echo would send every response straight back to the
    // master as if it were a request.
    termios settings{};
    if (::tcgetattr(pty.SlaveFd(), &settings) != 0)
        return std::nullopt;
    ::cfmakeraw(&settings);
    if (::tcsetattr(pty.SlaveFd(), TCSANOW, &settings) != 0)
        return std::nullopt;
    return pty;
}

bool CPseudoTerminal::ClearStaleExclusive() {
    if (!m_slave.IsValid())
        return false;
    int exclusive = 0;
    if (::ioctl(SlaveFd(), TIOCGEXCL, &exclusive) != 0)
        return false;
    if (exclusive == 0)
        return true;
    // Our own descriptor is a separate open of the line, so its lock
    // conflicts with a session's lock: taking it proves no one is inside.
    if (::flock(SlaveFd(), LOCK_EX | LOCK_NB) != 0)
        return false;
    const bool cleared = ::ioctl(SlaveFd(), TIOCNXCL) == 0;
    ::flock(SlaveFd(), LOCK_UN);
    return cleared;
}

void CPseudoTerminal::Close() {
    m_slave.Reset();
    m_master.Reset();
}

} // namespace platform
