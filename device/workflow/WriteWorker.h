// The write to the device: sends the filter setting and, when the device
// clock is to be set, the computer's time. Once it runs it cannot be
// cancelled; a failure leaves the values in the device state to be sent
// again.
#pragma once

#include "device/DeviceInfo.h"
#include "device/workflow/TransferWorker.h"

#include <ctime>
#include <functional>
#include <string>

namespace device {

class CWriteWorker : public CTransferWorker {
public:
    using Clock = std::function<std::time_t()>;

    CWriteWorker(IWorkerHost& host, std::string progressFormat, DeviceState& state,
                 std::string port, Clock now = {});

    void Run() override;

private:
    void Write();

    DeviceState& m_state;
    std::string m_strPort;
    Clock m_now;
};

} // namespace device
