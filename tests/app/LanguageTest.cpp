#include "app/Language.h"
#include "platform/Files.h"
#include "platform/Profile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using testsupport::ScopedEnv;
using testsupport::TempFolder;

namespace app {
namespace {

std::string LanguageFileText(std::string_view name, std::string_view id,
                             std::string_view extra = "") {
    // UTF-8 with a byte order mark, whatever the language's code page.
    return "\xEF\xBB\xBF[Info]\nLanguage=" + std::string(name) + "\nLanguageID=" + std::string(id) +
           "\n" + std::string(extra);
}

// A language module of its own, with the application profile in a fresh
// configuration folder.
class LanguageTest : public ::testing::Test {
protected:
    LanguageTest() : m_config("XDG_CONFIG_HOME", m_home.File("config")) {
        m_languages.InitLanguages(CLanguages::kFirstCommandId, CLanguages::kMaxLanguages);
    }

    std::string Write(std::string_view name, std::string_view text) {
        return m_folder.Write(name, text);
    }
    int Scan(std::string_view product = "") {
        return m_languages.ScanLanguageFolder(m_folder.Path(), CLanguages::kFilePattern, product);
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const LanguageEntry& entry : m_languages.Entries())
            names.push_back(entry.displayName);
        return names;
    }
    std::string Text(unsigned id) const {
        std::string text;
        return m_languages.LoadText(id, text) ? text : "<none>";
    }

    TempFolder m_home;
    ScopedEnv m_config;
    TempFolder m_folder;
    CLanguages m_languages;
};

TEST_F(LanguageTest, ScanKeepsMatchingInstalledFilesSortedByName) {
    Write("RHYVJPN.lng", LanguageFileText("japanese", "$0411"));
    Write("RHYVENU.lng", LanguageFileText("English", "$0409"));
    Write("RHYVDEU.LNG", LanguageFileText("Deutsch", "$0407"));
    Write("RHYV01.lng", LanguageFileText("short name", "$0410"));
    Write("RHYV0001.lng", LanguageFileText("long name", "$0412"));
    Write("RHYVJP2.lng", LanguageFileText("same id", "$0411"));
    Write("RHYVNOD.lng", LanguageFileText("no dollar", "0419"));
    Write("RHYVXXX.lng", LanguageFileText("not installed", "$7FFF"));
    Write("RHYVTXT.txt", LanguageFileText("other pattern", "$0419"));
    Write("RHYVDIR.lng/RHYVKOR.lng", LanguageFileText("in a folder", "$0412"));

    EXPECT_EQ(Scan(), 3);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Deutsch", "English", "same id"}));
    // RHYVJP2 sorts before RHYVJPN, so it is found first and RHYVJPN is skipped.
    EXPECT_EQ(m_languages.Entries()[2].path, m_folder.File("RHYVJP2.lng"));
    EXPECT_EQ(m_languages.Entries()[2].nativeName, "日本語");
    EXPECT_EQ(m_languages.MenuItems().size(), 3u);
    EXPECT_EQ(m_languages.MenuItems()[1].commandId, 32001u);
    EXPECT_EQ(m_languages.MenuItems()[1].text, "English");
}

TEST_F(LanguageTest, ScanHonoursProductFilterAndMostLanguages) {
    Write("RHYVENU.lng", LanguageFileText("English", "$0409", "Product=rhythmora\n"));
    Write("RHYVDEU.lng", LanguageFileText("Deutsch", "$0407", "Product=Other\n"));
    Write("RHYVFRA.lng", LanguageFileText("Français", "$040C", "Product=RHYTHMORA\n"));
    EXPECT_EQ(Scan("Rhythmora"), 2);
    EXPECT_EQ(Names(), (std::vector<std::string>{"English", "Français"}));

    CLanguages two;
    two.InitLanguages(CLanguages::kFirstCommandId, 2);
    EXPECT_EQ(two.ScanLanguageFolder(m_folder.Path(), CLanguages::kFilePattern, ""), 2);
    EXPECT_EQ(
        two.AddLanguageFile(Write("RHYVITA.lng", LanguageFileText("Italiano", "$0410")), true),
        nullptr);
    EXPECT_EQ(two.Entries().size(), 2u);
}

TEST_F(LanguageTest, MissingFolderFindsNothing) {
    EXPECT_EQ(m_languages.ScanLanguageFolder(m_folder.File("none"), CLanguages::kFilePattern, ""),
              0);
    m_languages.SelectInitialLanguage(CLanguages::kDefaultLanguageId, true, 0x0411);
    EXPECT_EQ(m_languages.Current(), nullptr);
}

TEST_F(LanguageTest, InitialChoiceStoredThenUserThenDefault) {
    Write("RHYVENU.lng", LanguageFileText("English", "$0409"));
    Write("RHYVJPN.lng", LanguageFileText("Japanese", "$0411"));
    Write("RHYVDEU.lng", LanguageFileText("Deutsch", "$0407"));
    Scan();
    const std::string profile = CLanguages::ApplicationProfilePath();
    platform::CreateFolderTree(platform::ParentFolder(profile));
    const struct {
        const char* stored; // nullptr: nothing stored
        LanguageId user;
        LanguageId chosen; // 0: none
    } cases[] = {
        {nullptr, 0x0411, 0x0411}, {nullptr, 0x0C07, 0x0407}, // same primary language
        {nullptr, 0x0419, 0x0409}, {nullptr, 0, 0x0409},      // default 1033
        {"1031", 0x0411, 0x0407},  {"1049", 0x0411, 0x0411},  // stored but not listed
        {"junk", 0, 0x0409},
    };
    for (const auto& c : cases) {
        if (c.stored) {
            ASSERT_TRUE(
                platform::WriteProfileString(profile, "Settings", "CurrentLanguage", c.stored));
        }
        m_languages.SelectInitialLanguage(CLanguages::kDefaultLanguageId, true, c.user);
        ASSERT_NE(m_languages.Current(), nullptr);
        EXPECT_EQ(m_languages.Current()->id, c.chosen) << (c.stored ? c.stored : "-") << c.user;
    }
    m_languages.SelectInitialLanguage(0x0412, false, 0);
    EXPECT_EQ(m_languages.Current(), nullptr);
    EXPECT_EQ(m_languages.CurrentCodePage(), 0u);
}

TEST_F(LanguageTest, TextsComeFromTheCurrentLanguageOnlyForResourceIds) {
    Write("RHYVJPN.lng", LanguageFileText("Japanese", "$0411",
                                          "[STRINGTABLE]\n"
                                          "ID51001=Delete\\n%d records?\n"
                                          "ID51013=C:\\\\data\n"
                                          "ID51017=\n"
                                          "ID99999=not a resource\n"
                                          "ID62294=pane\n"));
    Scan();
    EXPECT_EQ(Text(51001), "ECG Data Delete OK?");
    m_languages.SelectLanguageId(0x0411);
    EXPECT_EQ(m_languages.CurrentCodePage(), 932u);
    EXPECT_EQ(Text(51001), "Delete\n%d records?");
    EXPECT_EQ(Text(51013), "C:\\data");
    EXPECT_EQ(Text(51017), "Write Error"); // an empty value keeps the resource text
    EXPECT_EQ(Text(99999), "<none>");
    EXPECT_EQ(m_languages.Text(99999), std::nullopt);
    EXPECT_EQ(Text(62294), "pane");
    m_languages.SelectLanguage(nullptr);
    EXPECT_EQ(Text(62294), "<none>"); // blank resource text
}

TEST_F(LanguageTest, DoubleByteTrailBytesAreNotEscapes) {
    // "表示\n" in Shift-JIS: the trail byte of 表 is 0x5C, a backslash.
    Write("RHYVJPN.lng", "[Info]\nLanguage=Japanese\nLanguageID=$0411\n"
                         "[STRINGTABLE]\nID51013=\x95\x5C\x8E\xA6\\n\x95\x5C\n");
    Scan();
    m_languages.SelectLanguageId(0x0411);
    EXPECT_EQ(Text(51013), "表示\n表");
}

TEST_F(LanguageTest, DialogAndMenuTextsWithCommonFallBack) {
    Write("RHYVENU.lng", LanguageFileText("English", "$0409",
                                          "[DLG_212]\nCAPTION=Options\nID1186=Browse\\t...\n"
                                          "[DLG_COMMON_ID]\nID1=OK\nID1186=common\nID2=Cancel\n"
                                          "[MENU]\nID202=&Print\nPID202=&File\n"));
    Scan();
    EXPECT_EQ(m_languages.DialogCaption(212), std::nullopt);
    m_languages.SelectLanguageId(0x0409);
    EXPECT_EQ(m_languages.DialogCaption(212), "Options");
    EXPECT_EQ(m_languages.DialogControlText(212, 1186), "Browse\t...");
    EXPECT_EQ(m_languages.DialogControlText(214, 1186), "common");
    EXPECT_EQ(m_languages.DialogControlText(212, 2), "Cancel");
    EXPECT_EQ(m_languages.DialogControlText(212, 1189), std::nullopt);
    EXPECT_EQ(m_languages.MenuItemText(202), "&Print");
    EXPECT_EQ(m_languages.MenuPopupText(202), "&File");
    EXPECT_EQ(m_languages.MenuPopupText(192), std::nullopt);
}

TEST_F(LanguageTest, PromptsTooltipsAndLanguageCommands) {
    Write("RHYVENU.lng", LanguageFileText("English", "$0409"));
    Write("RHYVJPN.lng", LanguageFileText("Japanese", "$0411",
                                          "[STRINGTABLE]\nID32000=\nID202=印刷します\\n印刷\n"));
    Scan();
    EXPECT_EQ(m_languages.MenuPrompt(202), "Print the selected recordings");
    EXPECT_EQ(m_languages.TooltipText(202), "Print");
    EXPECT_EQ(m_languages.TooltipText(62315), ""); // no line feed
    EXPECT_EQ(m_languages.TooltipText(0), "");
    EXPECT_EQ(m_languages.TooltipText(4242), std::nullopt);
    EXPECT_EQ(m_languages.MenuPrompt(32001), "Changes interface language to Japanese");

    EXPECT_FALSE(m_languages.OnLanguageCommand(32002, true));
    EXPECT_TRUE(m_languages.OnLanguageCommand(32001, true));
    ASSERT_NE(m_languages.Current(), nullptr);
    EXPECT_EQ(m_languages.Current()->id, 0x0411);
    EXPECT_EQ(m_languages.MenuPrompt(202), "印刷します");
    EXPECT_EQ(m_languages.TooltipText(202), "印刷");
    // The file's empty ID32000 leaves the resource format.
    EXPECT_EQ(m_languages.MenuPrompt(32000), "Changes interface language to English");
    EXPECT_FALSE(m_languages.MenuItems()[0].checked);
    EXPECT_TRUE(m_languages.MenuItems()[1].checked);
    EXPECT_EQ(platform::GetProfileInt(CLanguages::ApplicationProfilePath(), "Settings",
                                      "CurrentLanguage", 0),
              0x0411);

    m_languages.OnLanguageCommand(32000, false);
    EXPECT_EQ(platform::GetProfileInt(CLanguages::ApplicationProfilePath(), "Settings",
                                      "CurrentLanguage", 0),
              0x0411);
}

TEST_F(LanguageTest, FontAndRightToLeftFollowTheLanguage) {
    Write("RHYVARA.lng",
          LanguageFileText("Arabic", "$0401", "[Font]\nName=Noto Sans Arabic\nSize=11\n"));
    Write("RHYVENU.lng", LanguageFileText("English", "$0409", "[Font]\nName=\nSize=11\n"));
    Scan();
    EXPECT_FALSE(m_languages.IsRightToLeft());
    m_languages.SelectLanguageId(0x0401);
    EXPECT_TRUE(m_languages.IsRightToLeft());
    EXPECT_EQ(m_languages.Font().face, "Noto Sans Arabic");
    EXPECT_EQ(m_languages.Font().pointSize, 11);
    EXPECT_EQ(m_languages.CurrentCodePage(), 1256u);
    m_languages.SelectLanguageId(0x0409);
    EXPECT_FALSE(m_languages.IsRightToLeft());
    EXPECT_EQ(m_languages.Font().face, "");
}

TEST_F(LanguageTest, FreeLeavesTheResourceTexts) {
    Write("RHYVJPN.lng",
          LanguageFileText("Japanese", "$0411", "[STRINGTABLE]\nID51013=長すぎます\n"));
    Scan();
    m_languages.SelectLanguageId(0x0411);
    EXPECT_EQ(Text(51013), "長すぎます");
    m_languages.FreeLanguages();
    EXPECT_EQ(Text(51013), "Input Over");
    EXPECT_TRUE(m_languages.Entries().empty());
    EXPECT_TRUE(m_languages.MenuItems().empty());
}

TEST(MenuItemText, KeepsTheAcceleratorOfTheCurrentText) {
    const struct {
        const char* current;
        const char* replacement;
        const char* result;
    } cases[] = {
        {"&Print...\tCtrl+P", "印刷(&P)", "印刷(&P)\tCtrl+P"},
        {"&Print...\tCtrl+P", "Print\tF9", "Print\tF9"},
        {"&Print...\tCtrl+P", "", "&Print...\tCtrl+P"},
        {"E&xit...", "Quit", "Quit"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MenuItemTextWithAccelerator(c.current, c.replacement), c.result) << c.current;
}

} // namespace
} // namespace app
