// Kept apart from SerialPort.cpp: <asm/termbits.h> and <termios.h> define
// the same names and cannot share a translation unit.
#include "platform/SerialBaudRate.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace platform {

bool SetCustomBaudRate(int fd, std::uint32_t baudRate) {
    struct termios2 settings {};
    if (::ioctl(fd, TCGETS2, &settings) != 0)
        return false;
    settings.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    settings.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    settings.c_ispeed = baudRate;
    settings.c_ospeed = baudRate;
    return ::ioctl(fd, TCSETS2, &settings) == 0;
}

} // namespace platform
