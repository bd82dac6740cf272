#include "device/workflow/SdCopy.h"

#include "platform/Files.h"
#include "platform/MountPoints.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "records/RecordFileOps.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace device {

namespace {

constexpr unsigned kTextSdNotFound = 51006; // "SD not find"
constexpr unsigned kTextDiskFull = 51007;   // "can not copy 1"
constexpr unsigned kTextSameFolder = 51008; // "can not copy 2"
constexpr unsigned kTextNoRecords = 51009;  // "HDD not find"
constexpr unsigned kTextHddError = 51010;   // "HDD Error"
constexpr unsigned kTextCopyErrors = 51011; // "Copy Error"

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string WithoutOneSlash(std::string folder) {
    if (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

bool IsMountPoint(const std::string& folder) {
    std::error_code ignored;
    const auto canonical = std::filesystem::weakly_canonical(folder, ignored).string();
    const auto mounts = platform::ReadMountPoints();
    return std::any_of(mounts.begin(), mounts.end(),
                       [&](const platform::MountEntry& m) { return m.mountPoint == canonical; });
}

bool SameFolder(const std::string& a, const std::string& b) {
    std::error_code ea, eb;
    return std::filesystem::equivalent(a, b, ea) && !ea && !eb;
}

} // namespace

std::string RecorderFolder(const std::string& mountPoint, const std::string& dirSd) {
    std::string below = dirSd.empty() ? "Vtq520/data/" : dirSd;
    if (below.size() >= 2 && below[1] == ':')
        below.erase(0, 2);
    std::replace(below.begin(), below.end(), '\\', '/');
    below.erase(0, below.find_first_not_of('/'));
    return WithSlash(platform::JoinPath(mountPoint, below));
}

bool IsExistingFolder(const std::string& folder) {
    const std::string path = WithoutOneSlash(folder);
    return !path.empty() && platform::IsDirectory(path) && !IsMountPoint(path);
}

int BuildSdFileList(const std::string& source, const std::string& destination,
                    platform::IUserPrompts& prompts, SdCopyPlan& plan) {
    auto refuse = [&prompts](unsigned text) {
        prompts.ShowMessage(platform::LoadText(text), platform::MessageIcon::Exclamation);
        return 0;
    };
    const std::string sourcePath = WithoutOneSlash(source);
    if (sourcePath.empty() || !platform::IsDirectory(sourcePath))
        return refuse(kTextSdNotFound);
    if (!IsExistingFolder(destination))
        return refuse(kTextHddError);
    if (SameFolder(source, destination))
        return refuse(kTextSameFolder);

    plan.source = WithSlash(source);
    plan.destination = WithSlash(destination);
    plan.files.clear();
    for (const std::string& name : platform::FolderEntries(sourcePath))
        if (name.size() > 4 && name.ends_with(".ecg"))
            plan.files.push_back(plan.source + name);
    if (plan.files.empty())
        return refuse(kTextNoRecords);
    return static_cast<int>(plan.files.size());
}

CSdCopyWorker::CSdCopyWorker(IWorkerHost& host, std::string progressFormat, SdCopyPlan plan)
    : CTransferWorker(host, std::move(progressFormat)), m_plan(std::move(plan)) {}

void CSdCopyWorker::Run() {
    if (m_bCancel != kRunning)
        m_plan.files.clear();
    // What a killed save left behind; a live one keeps its file.
    platform::RemoveStaleTemporaryFiles(m_plan.destination, ".ecg");
    const int total = static_cast<int>(m_plan.files.size());
    SetupProgress(total);
    int errors = 0;
    for (int k = 1; k <= total && m_bCancel == kRunning; ++k) {
        const std::string file = m_plan.files.front();
        m_plan.files.pop_front();
        std::string copied;
        const int code = records::CopyRecordFile(file, m_plan.destination, true, true, copied);
        if (code == records::kRecordFileDiskFull) {
            m_host.ShowMessage(platform::LoadText(kTextDiskFull),
                               platform::MessageIcon::Exclamation);
            break;
        }
        const bool added = code == records::kRecordFileDone;
        if (!added && code != records::kRecordFileSkipped)
            ++errors;
        StepProgress(k, added, total, copied);
    }
    if (errors > 0)
        m_host.ShowMessage(platform::FormatText(platform::LoadText(kTextCopyErrors), {errors}),
                           platform::MessageIcon::Exclamation);
    m_bCancel = kCancelled;
    m_host.RequestClose();
}

} // namespace device
