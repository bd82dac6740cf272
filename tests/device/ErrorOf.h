// The device error code an operation raises, or "no error".
#pragma once

#include "device/DeviceError.h"

#include <functional>
#include <string>

namespace device {

inline std::string ErrorOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const DeviceError& error) {
        return std::string(error.Code());
    }
    return "no error";
}

} // namespace device
