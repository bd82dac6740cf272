// The interface language module: the language files found at start-up,
// the current language with its font and layout direction, the language
// menu, and the texts of string ids, dialog controls and menu items in the
// current language. Installed as the program's text source, so every
// platform::LoadText answers in the chosen language.
#pragma once

#include "app/LanguageFile.h"
#include "app/LanguageIds.h"
#include "platform/ResourceText.h"

#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

namespace app {

struct LanguageEntry {
    LanguageId id = 0;
    std::string displayName; // "Info"/"Language", at most 63 characters
    std::string nativeName;  // the language's own name from the id table
                             // (the menu and prompts show displayName)
    std::string path;
};

// The dialog font a language file asks for; no face means the default font.
struct LanguageFont {
    std::string face; // at most 31 characters
    int pointSize = 0;
};

struct LanguageMenuItem {
    unsigned commandId = 0;
    std::string text;
    bool checked = false;
};

class CLanguages : public platform::ITextSource {
public:
    static constexpr unsigned kFirstCommandId = 32000;
    static constexpr unsigned kMaxLanguages = 64;
    static constexpr LanguageId kDefaultLanguageId = 1033;
    static constexpr const char* kFilePattern = "RHYV???.lng";

    CLanguages() = default;
    CLanguages(const CLanguages&) = delete;
    CLanguages& operator=(const CLanguages&) = delete;

    // A first command id of 0 means no language menu and no limit.
    void InitLanguages(unsigned firstCommandId, unsigned maxLanguages);

    // Adds the files of `folder` whose names match `pattern` ('?' one
    // character, '*' any run) and have exactly the pattern's length, whose
    // product matches a non-empty `product` (without case) and whose
    // language id is installed. Returns the number added.
    int ScanLanguageFolder(const std::string& folder, std::string_view pattern,
                           std::string_view product);
    // nullptr when the id is already listed or the list is full. The entry
    // stays valid until the list changes.
    const LanguageEntry* AddLanguageFile(const std::string& path, bool rebuildMenu);

    // The stored choice in the application profile, else the user's
    // language from the environment, else `defaultLanguageId`.
    void SelectInitialLanguage(LanguageId defaultLanguageId, bool useStoredChoice);
    void SelectInitialLanguage(LanguageId defaultLanguageId, bool useStoredChoice,
                               LanguageId userLanguageId);
    // nullptr: no language, the resource texts are used.
    void SelectLanguage(const LanguageEntry* entry);
    void SelectLanguageId(LanguageId id);

    const std::vector<LanguageEntry>& Entries() const { return m_entries; }
    const LanguageEntry* Current() const;
    platform::CodePage CurrentCodePage() const { return m_nCodePage; }
    const LanguageFont& Font() const { return m_font; }
    // Only a current language can turn the layout around.
    bool IsRightToLeft() const;

    // False when the program has no resource text for the id; a language
    // file alone cannot add a string.
    bool LoadText(unsigned id, std::string& text) const;
    std::optional<std::string> Text(unsigned id) const override;

    // The current language's values, escapes decoded; nullopt when no
    // language is current or the value is empty.
    std::optional<std::string> DialogControlText(unsigned dialogId, unsigned controlId) const;
    std::optional<std::string> DialogCaption(unsigned dialogId) const;
    std::optional<std::string> MenuItemText(unsigned commandId) const;
    std::optional<std::string> MenuPopupText(unsigned commandId) const;

    // The status-bar prompt of a command: its text up to the first line
    // feed; for a language command the language's name in the prompt.
    std::string MenuPrompt(unsigned commandId) const;
    // The tooltip of a tool id: the text after the first line feed ("" for
    // id 0 or a text without one); nullopt when the id has no text.
    std::optional<std::string> TooltipText(unsigned id) const;

    bool IsLanguageCommand(unsigned commandId) const;
    // Selects the language of the command and, when asked, stores the
    // choice in the application profile. False for an id outside the menu.
    bool OnLanguageCommand(unsigned commandId, bool storeChoice);
    const std::vector<LanguageMenuItem>& MenuItems() const { return m_menu; }

    void FreeLanguages();

    // $XDG_CONFIG_HOME/Torvane/Rhythmora.conf
    static std::string ApplicationProfilePath();

private:
    bool HasMenu() const { return m_nFirstCommandId != 0; }
    void RebuildMenu();
    void UpdateMenuChecks();
    std::optional<std::string> CurrentValue(std::string_view section, std::string_view key) const;

    std::vector<LanguageEntry> m_entries; // sorted by display name
    std::optional<std::size_t> m_nCurrent;
    CLanguageFile m_file; // the current language's texts
    unsigned m_nFirstCommandId = 0;
    unsigned m_nMaxLanguages = 0;
    platform::CodePage m_nCodePage = 0;
    LanguageFont m_font;
    std::vector<LanguageMenuItem> m_menu;
    // Workers fetch texts while the interface thread may change language.
    mutable std::shared_mutex m_mutex;
};

// A menu item's text after a language value: an empty value keeps the
// current text; a value without a tab of its own keeps the accelerator part
// (from the tab on) of the current text.
std::string MenuItemTextWithAccelerator(std::string_view current, std::string_view replacement);

// The process's language module.
CLanguages& Languages();

// The start-up step: the language list with the menu ids 32000 onwards,
// the scan of <share folder>/Language and the initial choice; then the
// module answers platform::LoadText. ReleaseLanguages undoes it at exit.
void StartLanguages();
void StartLanguages(const std::string& shareFolder);
void ReleaseLanguages();

// StartLanguages for the life of the object.
class CLanguageSession {
public:
    CLanguageSession() { StartLanguages(); }
    ~CLanguageSession() { ReleaseLanguages(); }
    CLanguageSession(const CLanguageSession&) = delete;
    CLanguageSession& operator=(const CLanguageSession&) = delete;
};

} // namespace app
