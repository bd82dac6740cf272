// What the person at the computer is told when a device operation fails.
// A port that cannot be opened is explained by its cause: no permission
// (and how to get it), another program holding the port; a port that is
// gone, and every failure of the exchange itself, get the general advice
// to plug the device in again. The codes themselves go to the log.
#pragma once

#include "device/DeviceError.h"

#include <string>

namespace device {

enum class PortOpenProblem { Other, NoPermission, InUse };

PortOpenProblem ClassifyOpenFailure(int systemError);

// The text for the failure on `port`.
std::string DeviceErrorText(const DeviceError& error, const std::string& port);

} // namespace device
