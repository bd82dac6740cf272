#include "app/Language.h"

#include "platform/Files.h"
#include "platform/KnownFolders.h"
#include "platform/Profile.h"
#include "platform/ShareFolder.h"
#include "platform/TextFormat.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <mutex>

namespace app {

namespace {

// The limits of the fixed buffers language files were written for.
constexpr std::size_t kDisplayNameCharacters = 63;
constexpr std::size_t kLanguageIdCharacters = 9;
constexpr std::size_t kFontFaceCharacters = 31;

constexpr std::string_view kDefaultLanguagePrompt = "Changes interface language to %s";

std::size_t CharacterCount(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool LessNoCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return LowerAscii(x) < LowerAscii(y);
    });
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return !LessNoCase(a, b) && !LessNoCase(b, a);
}

std::string IdKey(std::string_view prefix, unsigned id) {
    return std::string(prefix) + std::to_string(id);
}

std::string UpToLineFeed(std::string text) {
    const std::size_t lineFeed = text.find('\n');
    if (lineFeed != std::string::npos) {
        text.erase(lineFeed);
    }
    return text;
}

} // namespace

void CLanguages::InitLanguages(unsigned firstCommandId, unsigned maxLanguages) {
    std::unique_lock lock(m_mutex);
    m_entries.clear();
    m_nCurrent.reset();
    m_file = CLanguageFile();
    m_nFirstCommandId = firstCommandId;
    m_nMaxLanguages = maxLanguages;
    m_nCodePage = 0;
    m_font = LanguageFont();
    m_menu.clear();
}

int CLanguages::ScanLanguageFolder(const std::string& folder, std::string_view pattern,
                                   std::string_view product) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(folder, error);
    if (error) {
        return 0;
    }
    std::vector<std::string> paths;
    // Stepping with an error code: a folder that fails half-way ends the
    // listing instead of throwing.
    for (std::filesystem::directory_iterator item(absolute, error), end; !error && item != end;
         item.increment(error)) {
        const std::string name = item->path().filename().string();
        std::error_code statError;
        if (item->is_directory(statError) || CharacterCount(name) != CharacterCount(pattern) ||
            ::fnmatch(std::string(pattern).c_str(), name.c_str(), FNM_CASEFOLD) != 0) {
            continue;
        }
        paths.push_back(item->path().string());
    }
    // The folder's own order is arbitrary; a fixed order decides which of
    // two files with the same language id is the one taken.
    std::sort(paths.begin(), paths.end());

    int count = 0;
    for (const std::string& path : paths) {
        if (HasMenu() && m_entries.size() >= m_nMaxLanguages) {
            break;
        }
        if (!product.empty()) {
            const std::optional<CLanguageFile> file = CLanguageFile::Read(path, 1252);
            if (!file || !EqualsNoCase(file->Value("Info", "Product"), product)) {
                continue;
            }
        }
        const std::optional<std::string> idText = CLanguageFile::ReadLanguageIdText(path);
        if (!idText || !FindLanguageInfo(
                           ParseLanguageIdText(FirstCharacters(*idText, kLanguageIdCharacters)))) {
            continue;
        }
        if (AddLanguageFile(path, false) != nullptr) {
            ++count;
        }
    }
    std::unique_lock lock(m_mutex);
    RebuildMenu();
    return count;
}

const LanguageEntry* CLanguages::AddLanguageFile(const std::string& path, bool rebuildMenu) {
    const std::optional<std::string> idText = CLanguageFile::ReadLanguageIdText(path);
    if (!idText) {
        return nullptr;
    }
    const LanguageId id = ParseLanguageIdText(FirstCharacters(*idText, kLanguageIdCharacters));
    const std::optional<LanguageInfo> info = FindLanguageInfo(id);
    const std::optional<CLanguageFile> file =
        CLanguageFile::Read(path, info ? info->ansiCodePage : 1252);
    if (!file) {
        return nullptr;
    }

    std::unique_lock lock(m_mutex);
    const bool duplicate = std::any_of(m_entries.begin(), m_entries.end(),
                                       [&](const LanguageEntry& e) { return e.id == id; });
    if (duplicate || (HasMenu() && m_entries.size() >= m_nMaxLanguages)) {
        return nullptr;
    }
    LanguageEntry entry;
    entry.id = id;
    entry.displayName = FirstCharacters(file->Value("Info", "Language"), kDisplayNameCharacters);
    entry.nativeName = info ? std::string(info->nativeName) : std::string();
    entry.path = path;
    const auto position =
        std::find_if(m_entries.begin(), m_entries.end(), [&](const LanguageEntry& e) {
            return !LessNoCase(e.displayName, entry.displayName);
        });
    const std::size_t index = static_cast<std::size_t>(position - m_entries.begin());
    // The current entry keeps pointing at the same language.
    if (m_nCurrent && *m_nCurrent >= index) {
        ++*m_nCurrent;
    }
    m_entries.insert(position, std::move(entry));
    if (rebuildMenu) {
        RebuildMenu();
    }
    return &m_entries[index];
}

void CLanguages::SelectInitialLanguage(LanguageId defaultLanguageId, bool useStoredChoice) {
    SelectInitialLanguage(defaultLanguageId, useStoredChoice, UserDefaultLanguageId());
}

void CLanguages::SelectInitialLanguage(LanguageId defaultLanguageId, bool useStoredChoice,
                                       LanguageId userLanguageId) {
    const auto withId = [&](LanguageId id) {
        return std::find_if(m_entries.begin(), m_entries.end(),
                            [&](const LanguageEntry& e) { return e.id == id; });
    };
    if (useStoredChoice) {
        const int stored =
            platform::GetProfileInt(ApplicationProfilePath(), "Settings", "CurrentLanguage", 0);
        if (stored > 0 && stored <= 0xFFFF) {
            const auto found = withId(static_cast<LanguageId>(stored));
            if (found != m_entries.end()) {
                SelectLanguage(&*found);
                return;
            }
        }
    }
    if (userLanguageId != 0) {
        auto found = withId(userLanguageId);
        if (found == m_entries.end()) {
            found = std::find_if(m_entries.begin(), m_entries.end(), [&](const LanguageEntry& e) {
                return PrimaryLanguage(e.id) == PrimaryLanguage(userLanguageId);
            });
        }
        if (found != m_entries.end()) {
            SelectLanguage(&*found);
            return;
        }
    }
    SelectLanguageId(defaultLanguageId);
}

void CLanguages::SelectLanguage(const LanguageEntry* entry) {
    std::optional<std::size_t> index;
    CLanguageFile file;
    platform::CodePage codePage = 0;
    LanguageFont font;
    if (entry != nullptr && entry >= m_entries.data() &&
        entry < m_entries.data() + m_entries.size()) {
        index = static_cast<std::size_t>(entry - m_entries.data());
        const std::optional<LanguageInfo> info = FindLanguageInfo(entry->id);
        codePage = info ? info->ansiCodePage : 0;
        // A file that has gone since the scan leaves the resource texts.
        file = CLanguageFile::Read(entry->path, codePage).value_or(CLanguageFile());
        font.face = FirstCharacters(file.Value("Font", "Name"), kFontFaceCharacters);
        font.pointSize =
            font.face.empty() ? 0 : platform::ParseProfileInt(file.Value("Font", "Size"));
    }
    std::unique_lock lock(m_mutex);
    m_nCurrent = index;
    m_file = std::move(file);
    m_nCodePage = codePage;
    m_font = std::move(font);
    UpdateMenuChecks();
}

void CLanguages::SelectLanguageId(LanguageId id) {
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const LanguageEntry& e) { return e.id == id; });
    SelectLanguage(found == m_entries.end() ? nullptr : &*found);
}

const LanguageEntry* CLanguages::Current() const {
    return m_nCurrent ? &m_entries[*m_nCurrent] : nullptr;
}

bool CLanguages::IsRightToLeft() const {
    const LanguageEntry* current = Current();
    return current != nullptr && IsRightToLeftLanguage(current->id);
}

bool CLanguages::LoadText(unsigned id, std::string& text) const {
    std::optional<std::string> resource = platform::ResourceText(id);
    if (!resource) {
        return false;
    }
    text = CurrentValue("STRINGTABLE", IdKey("ID", id)).value_or(std::move(*resource));
    return !text.empty();
}

std::optional<std::string> CLanguages::Text(unsigned id) const {
    if (!platform::ResourceText(id)) {
        return std::nullopt;
    }
    return CurrentValue("STRINGTABLE", IdKey("ID", id));
}

std::optional<std::string> CLanguages::DialogControlText(unsigned dialogId,
                                                         unsigned controlId) const {
    const std::string key = IdKey("ID", controlId);
    if (std::optional<std::string> own = CurrentValue(IdKey("DLG_", dialogId), key)) {
        return own;
    }
    return CurrentValue("DLG_COMMON_ID", key);
}

std::optional<std::string> CLanguages::DialogCaption(unsigned dialogId) const {
    return CurrentValue(IdKey("DLG_", dialogId), "CAPTION");
}

std::optional<std::string> CLanguages::MenuItemText(unsigned commandId) const {
    return CurrentValue("MENU", IdKey("ID", commandId));
}

std::optional<std::string> CLanguages::MenuPopupText(unsigned commandId) const {
    return CurrentValue("MENU", IdKey("PID", commandId));
}

std::string CLanguages::MenuPrompt(unsigned commandId) const {
    std::optional<std::string> argument;
    unsigned textId = commandId;
    if (IsLanguageCommand(commandId)) {
        std::shared_lock lock(m_mutex);
        const LanguageEntry& entry = m_entries[commandId - m_nFirstCommandId];
        argument = entry.displayName;
        textId = m_nFirstCommandId;
    }
    std::string text;
    LoadText(textId, text);
    text = UpToLineFeed(std::move(text));
    if (!argument) {
        return text;
    }
    return platform::FormatText(text.empty() ? kDefaultLanguagePrompt : std::string_view(text),
                                {std::string_view(*argument)});
}

std::optional<std::string> CLanguages::TooltipText(unsigned id) const {
    if (id == 0) {
        return std::string();
    }
    std::string text;
    if (!LoadText(id, text)) {
        return std::nullopt;
    }
    const std::size_t lineFeed = text.find('\n');
    // The request's buffer holds 80 characters with the terminator.
    return lineFeed == std::string::npos ? std::string()
                                         : FirstCharacters(text.substr(lineFeed + 1), 79);
}

bool CLanguages::IsLanguageCommand(unsigned commandId) const {
    std::shared_lock lock(m_mutex);
    return HasMenu() && commandId >= m_nFirstCommandId &&
           commandId - m_nFirstCommandId < m_entries.size();
}

bool CLanguages::OnLanguageCommand(unsigned commandId, bool storeChoice) {
    if (!IsLanguageCommand(commandId)) {
        return false;
    }
    const LanguageEntry& entry = m_entries[commandId - m_nFirstCommandId];
    SelectLanguage(&entry);
    if (storeChoice) {
        const std::string path = ApplicationProfilePath();
        platform::CreateFolderTree(platform::ParentFolder(path));
        platform::WriteProfileString(path, "Settings", "CurrentLanguage", std::to_string(entry.id));
    }
    return true;
}

void CLanguages::FreeLanguages() {
    std::unique_lock lock(m_mutex);
    m_entries.clear();
    m_nCurrent.reset();
    m_file = CLanguageFile();
    m_nCodePage = 0;
    m_font = LanguageFont();
    RebuildMenu();
}

std::string CLanguages::ApplicationProfilePath() {
    return platform::JoinPath(platform::JoinPath(platform::ConfigFolder(), "Torvane"),
                              "Rhythmora.conf");
}

void CLanguages::RebuildMenu() {
    m_menu.clear();
    if (!HasMenu()) {
        return;
    }
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const LanguageEntry& entry = m_entries[i];
        m_menu.push_back(
            {m_nFirstCommandId + static_cast<unsigned>(i), entry.displayName, m_nCurrent == i});
    }
}

void CLanguages::UpdateMenuChecks() {
    for (std::size_t i = 0; i < m_menu.size(); ++i) {
        m_menu[i].checked = m_nCurrent == i;
    }
}

std::optional<std::string> CLanguages::CurrentValue(std::string_view section,
                                                    std::string_view key) const {
    std::shared_lock lock(m_mutex);
    if (!m_nCurrent) {
        return std::nullopt;
    }
    const std::string value = m_file.Value(section, key);
    if (value.empty()) {
        return std::nullopt;
    }
    return DecodeEscapes(value);
}

std::string MenuItemTextWithAccelerator(std::string_view current, std::string_view replacement) {
    if (replacement.empty()) {
        return std::string(current);
    }
    std::string text(replacement);
    const std::size_t tab = current.find('\t');
    if (tab != std::string_view::npos && text.find('\t') == std::string::npos) {
        text += current.substr(tab);
    }
    return text;
}

CLanguages& Languages() {
    static CLanguages languages;
    return languages;
}

void StartLanguages() {
    StartLanguages(platform::ShareFolder());
}

void StartLanguages(const std::string& shareFolder) {
    CLanguages& languages = Languages();
    languages.InitLanguages(CLanguages::kFirstCommandId, CLanguages::kMaxLanguages);
    languages.ScanLanguageFolder(platform::JoinPath(shareFolder, "Language"),
                                 CLanguages::kFilePattern, "");
    languages.SelectInitialLanguage(CLanguages::kDefaultLanguageId, true);
    platform::SetTextSource(&languages);
}

void ReleaseLanguages() {
    platform::SetTextSource(nullptr);
    Languages().FreeLanguages();
}

} // namespace app
