#include "device/workflow/DownloadWorker.h"

#include "device/DeviceAccess.h"
#include "device/DeviceError.h"
#include "device/workflow/DeviceTimeText.h"
#include "device/workflow/RecordFileWriter.h"
#include "platform/Files.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "records/ECGContentsData.h"

#include <array>
#include <filesystem>

namespace device {

namespace {

constexpr unsigned kTextCopyFailed1 = 51007; // "can not copy 1": disk full
constexpr unsigned kTextCopyFailed2 = 51008; // "can not copy 2": file not created
constexpr unsigned kTextComErrorHeading = 52026;
constexpr unsigned kTextComError = 51026;
constexpr unsigned kTextClockHeading = 52027;
constexpr unsigned kTextClockQuestion = 51027;
constexpr const char* kSetClockButton = "時刻同期する";
constexpr std::uint16_t kStandardPosition = 0x08;

} // namespace

CDownloadWorker::CDownloadWorker(IWorkerHost& host, std::string progressFormat, DeviceState& state,
                                 std::string port, std::string folder, Clock now)
    : CTransferWorker(host, std::move(progressFormat)), m_state(state), m_strPort(std::move(port)),
      m_strFolder(std::move(folder)),
      m_now(now ? std::move(now) : Clock([] { return std::time(nullptr); })) {}

void CDownloadWorker::Run() {
    if (m_bCancel != kRunning) {
        Abandon();
        return;
    }
    m_host.ShowOkButton(false);
    try {
        Transfer();
    } catch (const DeviceError& error) {
        ReportError(error.Code());
        // Once the device has let go of its recordings, the files are the
        // only copy: an error after that point must not remove them.
        if (!m_bCountCleared)
            m_bCancel = kCancelled;
    }
    if (m_bCancel == kRunning)
        Finish();
    else
        Abandon();
}

bool CDownloadWorker::AskToSetClock(DeviceAccess& access) {
    m_host.ShowDialog(false);
    const std::time_t now = m_now();
    std::tm local{};
    localtime_r(&now, &local);
    const std::string question =
        platform::FormatText(platform::LoadText(kTextClockQuestion),
                             {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                              WeekdayName(local.tm_wday), local.tm_hour, local.tm_min});
    if (m_host.Ask(platform::LoadText(kTextClockHeading), question,
                   platform::PromptForm::TwoButtons, kSetClockButton) != platform::kIdOk)
        return false;
    std::array<std::uint8_t, kControlBlockSize> status{};
    access.ReadDeviceStatus(status);
    access.WriteDeviceClock(status, now);
    access.EndAccess();
    access.StartAccess();
    m_state.m_clockNotSet = false;
    m_state.m_deviceClock = now;
    m_host.ShowDialog(true);
    return true;
}

void CDownloadWorker::Transfer() {
    // Closes the port on every way out, without ending the access sequence
    // when an error cut it short.
    DeviceAccess access;
    access.Open(m_strPort);
    access.StartAccess();
    std::array<std::uint8_t, kControlBlockSize> index{};
    access.ReadRecordIndex(index);

    int count = index[kIdxCount];
    if (m_state.m_clockNotSet && !AskToSetClock(access)) {
        m_bCancel = kCancelled;
        count = 0;
    }
    // The device has no more slots than this; a larger count is not one it
    // could hold.
    if (count > kSlotCount)
        count = kSlotCount;

    SetupProgress(count);
    const std::array<std::uint8_t, 20> extra{};
    bool completed = true;
    for (int k = 0; k < count; ++k) {
        std::array<std::uint8_t, kRecordBlockSize> block{};
        access.ReadRecordBlock(count - 1 - k, index, block);
        const std::string path = SaveRecordFile(block, extra, m_strFolder, m_now());
        m_files.push_back(path);
        StepProgress(k + 1, true, count, path);
        if (m_bCancel != kRunning) {
            completed = false;
            break;
        }
    }
    if (count > 0 && completed) {
        // The device forgets its recordings once the count is cleared: the
        // files must be on the disk, not in a cache, by then.
        for (const std::string& file : m_files)
            if (!platform::SyncPath(file))
                throw DeviceError(kErrWriteFile);
        if (!platform::SyncPath(m_strFolder))
            throw DeviceError(kErrWriteFile);
        access.ClearRecordCount(index, 0);
        m_bCountCleared = true;
    }
    access.EndAccess();
    access.Close();
}

void CDownloadWorker::ReportError(std::string_view code) {
    if (code == kErrCreateFile)
        m_host.ShowMessage(platform::LoadText(kTextCopyFailed2),
                           platform::MessageIcon::Exclamation);
    else if (code == kErrDiskFull)
        m_host.ShowMessage(platform::LoadText(kTextCopyFailed1),
                           platform::MessageIcon::Exclamation);
    else
        m_host.Ask(platform::LoadText(kTextComErrorHeading), platform::LoadText(kTextComError),
                   platform::PromptForm::OneOk);
}

void CDownloadWorker::Abandon() {
    m_bCancel = kCancelled;
    m_host.RequestClose();
    // The run's own files go, damaged ones included, which the guarded
    // delete would keep because they fail the record check.
    for (const std::string& file : m_files) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }
}

void CDownloadWorker::Finish() {
    const int total = static_cast<int>(m_files.size());
    m_host.SetLine(DialogLine::Progress,
                   platform::FormatText("%d/%d件のデータ取り込み完了", {total, total}));
    m_host.SetLine(DialogLine::Message1, "機器から心電図データをパソコンに取り込みました。");
    m_host.SetLine(DialogLine::Message2, "　");
    m_host.ShowCancelButton(false);
    m_host.ShowOkButton(true);
    m_bCancel = kFinished;
    for (const std::string& file : m_files) {
        records::CECGContentsData record;
        record.SetPath(file);
        record.Load();
        record.SetPosition(kStandardPosition);
        record.SetSituation(0);
        record.Save();
        record.Reset();
    }
}

} // namespace device
