#include "device/workflow/DownloadWorker.h"

#include "device/DeviceAccess.h"
#include "device/DeviceError.h"
#include "device/DeviceErrorText.h"
#include "device/workflow/DeviceTimeText.h"
#include "device/workflow/RecordFileWriter.h"
#include "platform/Files.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "records/ECGContentsData.h"

#include <algorithm>
#include <array>

namespace device {

namespace {

constexpr unsigned kTextCopyFailed1 = 51007; // "can not copy 1": disk full
constexpr unsigned kTextCopyFailed2 = 51008; // "can not copy 2": not saved
constexpr unsigned kTextComErrorHeading = 52026;
constexpr unsigned kTextClockHeading = 52027;
constexpr unsigned kTextClockQuestion = 51027;
constexpr unsigned kTextImported = 62410;
constexpr unsigned kTextImportedMessage = 62411;
constexpr unsigned kTextAlreadyPresent = 62412;
constexpr unsigned kTextDamaged = 62413;
constexpr unsigned kTextMoreFiles = 62414;
constexpr unsigned kTextCountUnconfirmed = 62415;
constexpr unsigned kTextIncomplete = 62416;
constexpr unsigned kTextNothingNew = 62858;
constexpr unsigned kTextNothingNewPresent = 62859; // d
constexpr const char* kSetClockButton = "時刻同期する";
constexpr std::uint16_t kStandardPosition = 0x08;
// The finished message names this many damaged files at most.
constexpr std::size_t kNamedDamaged = 5;

std::int64_t Count(std::size_t n) {
    return static_cast<std::int64_t>(n);
}

std::string DamagedText(const std::vector<std::string>& damaged, const std::string& folder) {
    std::string text =
        platform::FormatText(platform::LoadText(kTextDamaged), {Count(damaged.size()), folder});
    const std::size_t named = std::min(damaged.size(), kNamedDamaged);
    for (std::size_t i = 0; i < named; ++i)
        text += "\n" + platform::BaseName(damaged[i]);
    if (damaged.size() > named)
        text += "\n" + platform::FormatText(platform::LoadText(kTextMoreFiles),
                                            {Count(damaged.size() - named)});
    return text;
}

} // namespace

CDownloadWorker::CDownloadWorker(IWorkerHost& host, std::string progressFormat, DeviceState& state,
                                 std::string port, std::string folder, Clock now)
    : CTransferWorker(host, std::move(progressFormat)), m_state(state), m_strPort(std::move(port)),
      m_strFolder(std::move(folder)),
      m_now(now ? std::move(now) : Clock([] { return std::time(nullptr); })) {}

std::vector<std::string> CDownloadWorker::GetKeptFiles() const {
    return m_bUndone ? std::vector<std::string>{} : m_files;
}

std::vector<std::string> CDownloadWorker::GetDamaged() const {
    return m_bUndone ? std::vector<std::string>{} : m_damaged;
}

bool CDownloadWorker::Succeeded() const {
    return m_bCancel == kFinished && (m_bCountConfirmed || m_nOffered == 0) && m_nIncomplete == 0;
}

void CDownloadWorker::Run() {
    if (m_bCancel != kRunning) {
        Undo();
        return;
    }
    m_host.ShowOkButton(false);
    // What a killed save left behind; a live one keeps its file.
    platform::RemoveStaleTemporaryFiles(m_strFolder, ".ecg");
    try {
        Transfer();
    } catch (const DeviceError& error) {
        if (!m_bCountSent) {
            ReportError(error);
            Undo();
            return;
        }
        // The device may or may not have let go of its recordings; they are
        // on the computer either way.
        if (!m_bCountConfirmed)
            m_host.ShowMessage(platform::LoadText(kTextCountUnconfirmed),
                               platform::MessageIcon::Exclamation);
        else
            ReportError(error);
    }
    if (!m_bCountSent && m_bCancel != kRunning)
        Undo();
    else
        Finish();
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
    m_nOffered = count;

    SetupProgress(count);
    const std::array<std::uint8_t, 20> extra{};
    records::CKnownRecordings known(m_strFolder);
    bool allRead = true;
    for (int k = 0; k < count; ++k) {
        std::array<std::uint8_t, kRecordBlockSize> block{};
        access.ReadRecordBlock(count - 1 - k, index, block);
        const SavedRecording saved = SaveRecordFile(block, extra, m_strFolder, m_now(), &known);
        if (saved.present) {
            m_present.push_back(saved.path);
        } else {
            m_files.push_back(saved.path);
            if (saved.damaged)
                m_damaged.push_back(saved.path);
        }
        StepProgress(k + 1, !saved.present, count, saved.path);
        // A cancel takes effect after the recording in progress. Once the
        // last one is in, a cancel comes too late to spare the device
        // anything and no longer stops the run.
        if (m_bCancel != kRunning) {
            allRead = false;
            break;
        }
    }
    if (count > 0 && allRead) {
        // The device forgets its recordings once the count is cleared: the
        // files must be on the disk, not in a cache, by then.
        for (const std::vector<std::string>* files : {&m_files, &m_present})
            for (const std::string& file : *files)
                if (!platform::SyncPath(file))
                    throw DeviceError(kErrWriteFile);
        if (!platform::SyncPath(m_strFolder))
            throw DeviceError(kErrWriteFile);
        m_bCountSent = true;
        access.ClearRecordCount(index, 0);
        m_bCountConfirmed = true;
    }
    access.EndAccess();
    access.Close();
}

void CDownloadWorker::ReportError(const DeviceError& error) {
    const std::string_view code = error.Code();
    if (code == kErrCreateFile || code == kErrWriteFile)
        m_host.ShowMessage(platform::LoadText(kTextCopyFailed2),
                           platform::MessageIcon::Exclamation);
    else if (code == kErrDiskFull)
        m_host.ShowMessage(platform::LoadText(kTextCopyFailed1),
                           platform::MessageIcon::Exclamation);
    else
        m_host.Ask(platform::LoadText(kTextComErrorHeading), DeviceErrorText(error, m_strPort),
                   platform::PromptForm::OneOk);
}

void CDownloadWorker::Undo() {
    m_bCancel = kCancelled;
    m_host.RequestClose();
    // The run's own files go, damaged ones included, which the guarded
    // delete would keep because they fail the record check. Files that
    // held a recording before the run are not the run's.
    for (const std::string& file : m_files)
        platform::RemoveFile(file);
    m_bUndone = true;
}

int CDownloadWorker::CompleteFiles() {
    int incomplete = 0;
    for (const std::string& file : m_files) {
        records::CECGContentsData record;
        record.SetPath(file);
        record.Load();
        record.SetPosition(kStandardPosition);
        record.SetSituation(0);
        // A damaged file does not load and is kept as it came.
        if (record.Save() == 0)
            ++incomplete;
        record.Reset();
    }
    return incomplete;
}

void CDownloadWorker::Finish() {
    m_nIncomplete = CompleteFiles();
    if (m_nIncomplete > 0)
        m_host.ShowMessage(
            platform::FormatText(platform::LoadText(kTextIncomplete), {m_nIncomplete}),
            platform::MessageIcon::Exclamation);
    // Said as it is when the run brought nothing new.
    std::string message;
    if (!m_files.empty()) {
        message = platform::LoadText(kTextImportedMessage);
        if (!m_present.empty())
            message += "\n" + platform::FormatText(platform::LoadText(kTextAlreadyPresent),
                                                   {Count(m_present.size())});
    } else if (m_present.empty()) {
        message = platform::LoadText(kTextNothingNew);
    } else {
        message = platform::FormatText(platform::LoadText(kTextNothingNewPresent),
                                       {Count(m_present.size())});
    }
    m_host.SetLine(DialogLine::Progress, platform::FormatText(platform::LoadText(kTextImported),
                                                              {m_nOffered, m_nOffered}));
    m_host.SetLine(DialogLine::Message1, message);
    m_host.SetLine(DialogLine::Message2,
                   m_damaged.empty() ? std::string("　") : DamagedText(m_damaged, m_strFolder));
    m_host.ShowCancelButton(false);
    m_host.ShowOkButton(true);
    m_bCancel = kFinished;
}

} // namespace device
