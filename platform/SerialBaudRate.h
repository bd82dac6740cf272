// Puts an arbitrary baud rate on a tty through termios2, which the classic
// termios interface cannot express (its speeds are a fixed table).
#pragma once

#include <cstdint>

namespace platform {

// Sets both directions to `baudRate` with BOTHER, keeping the rest of the
// line settings. False when the driver refuses it.
bool SetCustomBaudRate(int fd, std::uint32_t baudRate);

} // namespace platform
