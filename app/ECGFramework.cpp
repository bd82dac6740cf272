#include "app/ECGFramework.h"

#include "platform/Files.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "records/ECGContentsData.h"
#include "records/RecordFileOps.h"

#include <dirent.h>

#include <algorithm>

namespace app {

namespace {

constexpr unsigned kTextDeleteQuestion = 51001; // "ECG Data Delete OK?"
constexpr unsigned kTextDataNotFound = 51012;   // "Data not find"
constexpr unsigned kTextDeleteError = 51016;    // "Delete Error"
constexpr const char* kDeleteHeading = "データ削除";
constexpr unsigned kTextProgramName = 62080;

bool EndsWith(const std::string& text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

int CECGPlugin::Load(const std::string&) {
    return 0;
}

CECGFramework::~CECGFramework() {
    while (!m_plugins.empty())
        m_plugins.pop_back();
}

records::CECGContentsData* CECGFramework::At(const RecordList& list, int index) {
    if (index < 0 || index >= static_cast<int>(list.size()))
        return nullptr;
    return list[static_cast<std::size_t>(index)];
}

bool CECGFramework::IsNewPath(const std::string& path) const {
    return std::find(m_newPaths.begin(), m_newPaths.end(), path) != m_newPaths.end();
}

int CECGFramework::EnableAllWindows(bool enable) {
    if (m_bBusy)
        return 0;
    m_bBusy = 1;
    if (enable) {
        m_hFrontWindow = nullptr;
        m_bDisabled = false;
    } else {
        m_hFrontWindow = m_pWindowHost ? m_pWindowHost->ForegroundWindow() : nullptr;
        m_bDisabled = true;
    }
    if (m_pWindowHost)
        m_pWindowHost->EnableWindows(enable);
    m_bBusy = 0;
    return 1;
}

void CECGFramework::ShowDeleteFailure(int code, int count) {
    if (!m_pPrompts)
        return;
    const bool refused = code == records::kRecordFileNotWritable;
    const std::string format = platform::LoadText(refused ? kTextDeleteError : kTextDataNotFound);
    m_pPrompts->ShowMessage(platform::FormatText(format, {count}),
                            refused ? platform::MessageIcon::Exclamation
                                    : platform::MessageIcon::Hand);
}

int CECGFramework::DeleteSelectedRecords(WindowHandle window) {
    auto refocus = [this, window] {
        if (m_pWindowHost)
            m_pWindowHost->FocusWindow(window);
    };
    const int count = GetSelectedCount();
    if (count == 0) {
        refocus();
        return 0;
    }
    const std::string question =
        platform::FormatText(platform::LoadText(kTextDeleteQuestion), {count});
    if (!m_pPrompts ||
        m_pPrompts->Ask(kDeleteHeading, question, platform::PromptForm::YesNo) != platform::kIdOk) {
        refocus();
        return 0;
    }
    for (records::CECGContentsData* record : m_selected) {
        const int code = records::DeleteRecordFile(record->GetPath(), true);
        if (code != records::kRecordFileDone) {
            ShowDeleteFailure(code, count);
            break;
        }
    }
    m_selected.clear();
    return 1;
}

int CECGFramework::DeleteRecord(const std::string& path) {
    const int code = records::DeleteRecordFile(path, true);
    if (code != records::kRecordFileDone)
        ShowDeleteFailure(code, 1);
    return code;
}

void CECGFramework::LoadPlugins(const std::string& shareFolder) {
    const std::string folder = platform::JoinPath(shareFolder, "Plugin");
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir)
        return;
    std::vector<std::string> files;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string path = platform::JoinPath(folder, entry->d_name);
        if (EndsWith(entry->d_name, ".so") && !platform::IsDirectory(path))
            files.push_back(path);
    }
    for (const std::string& path : files) {
        auto plugin = std::make_unique<CECGPlugin>();
        if (plugin->Load(path) == 1)
            m_plugins.push_back(std::move(plugin));
    }
}

std::string CECGFramework::RecordWindowKey(const records::CECGContentsData& record) {
    return platform::LoadText(kTextProgramName) + "：" + record.GetFileName();
}

bool CECGFramework::RegisterWindow(const std::string& key, WindowHandle window) {
    const auto found = std::find_if(m_registry.begin(), m_registry.end(),
                                    [&key](const auto& entry) { return entry.first == key; });
    if (found != m_registry.end())
        return false;
    m_registry.emplace_back(key, window);
    return true;
}

int CECGFramework::UnregisterWindow(const std::string& key) {
    std::erase_if(m_registry, [&key](const auto& entry) { return entry.first == key; });
    return GetRecordWindowCount();
}

WindowHandle CECGFramework::FindRecordWindow(const records::CECGContentsData& record) const {
    const std::string key = RecordWindowKey(record);
    const auto found = std::find_if(m_registry.begin(), m_registry.end(),
                                    [&key](const auto& entry) { return entry.first == key; });
    return found == m_registry.end() ? nullptr : found->second;
}

} // namespace app
