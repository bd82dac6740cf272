// The connection watcher: looks for the device on every tick of the main
// view's timer and starts one automatic import per plugging-in.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace device {

class CConnectionWatcher {
public:
    // The status read of a newly seen device (ReadDeviceInfo); false when it
    // failed, which it reports itself.
    using StatusRead = std::function<bool(const std::string& port)>;

    explicit CConnectionWatcher(StatusRead readStatus) : m_readStatus(std::move(readStatus)) {}

    // One tick with the ports found now. The port to import from when an
    // automatic import should start; the caller then checks the data folder
    // and opens the import dialog. `busy`: the windows are disabled for
    // another operation.
    std::optional<std::string> OnDeviceTimer(const std::vector<std::string>& ports, bool busy);

    bool IsLatched() const { return m_bLatch; }

private:
    StatusRead m_readStatus;
    bool m_bLatch = false;
};

} // namespace device
