#include "device/workflow/WriteWorker.h"

#include "device/DeviceAccess.h"
#include "device/DeviceError.h"
#include "device/DeviceErrorText.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"

#include <array>

namespace device {

namespace {

constexpr unsigned kTextComErrorHeading = 52026;
constexpr unsigned kTextWriteComplete = 62404;
constexpr unsigned kTextSettingsWritten = 62405;
// Bit 2 of the settings byte belongs to the device and goes back as read.
constexpr std::uint8_t kKeptSettingsBit = 0x04;

} // namespace

CWriteWorker::CWriteWorker(IWorkerHost& host, std::string progressFormat, DeviceState& state,
                           std::string port, Clock now)
    : CTransferWorker(host, std::move(progressFormat)), m_state(state), m_strPort(std::move(port)),
      m_now(now ? std::move(now) : Clock([] { return std::time(nullptr); })) {}

void CWriteWorker::Run() {
    if (m_bCancel != kRunning) {
        m_bCancel = kCancelled;
        m_host.RequestClose();
        return;
    }
    m_host.ShowOkButton(false);
    m_host.ShowCancelButton(false);
    try {
        Write();
    } catch (const DeviceError& error) {
        m_host.Ask(platform::LoadText(kTextComErrorHeading), DeviceErrorText(error, m_strPort),
                   platform::PromptForm::OneOk);
        m_bCancel = kCancelled;
        m_host.RequestClose();
        return;
    }
    if (m_bCancel != kRunning) {
        m_bCancel = kCancelled;
        m_host.RequestClose();
        return;
    }
    m_host.SetLine(DialogLine::Progress, platform::LoadText(kTextWriteComplete));
    m_host.SetLine(DialogLine::Message1, platform::LoadText(kTextSettingsWritten));
    m_host.SetLine(DialogLine::Message2, "　");
    m_host.ShowCancelButton(false);
    m_host.ShowOkButton(true);
    m_bCancel = kCancelled;
}

void CWriteWorker::Write() {
    DeviceAccess access;
    access.Open(m_strPort);
    access.StartAccess();
    m_host.SetProgressRange(1);
    m_host.SetProgressPosition(0);
    m_host.SetLine(DialogLine::Progress, platform::FormatText(m_strProgressFmt, {0, 1}));

    std::array<std::uint8_t, kControlBlockSize> status{};
    access.ReadDeviceStatus(status);
    const std::uint8_t keep = status[kStaFilter] & kKeptSettingsBit;
    if (m_bCancel == kRunning) {
        // A filter never read is written as "on", as the settings dialog shows it.
        const int filter = m_state.m_filter < 0 ? 2 : m_state.m_filter & 3;
        const auto settings = static_cast<std::uint8_t>(filter | keep);
        if (m_state.m_clockNotSet) {
            status[kStaFilter] = settings;
            const std::time_t now = m_now();
            access.WriteDeviceClock(status, now);
            m_state.m_clockNotSet = false;
            m_state.m_deviceClock = now;
        } else {
            access.WriteDeviceSettings(status, settings);
        }
        m_host.SetProgressPosition(1);
        m_host.SetLine(DialogLine::Progress, platform::FormatText(m_strProgressFmt, {2, 1}));
    }
    access.EndAccess();
    access.Close();
}

} // namespace device
