// The Help menu's documents: their paths follow the language's file names,
// a file name that would leave the Manual folder gives no path, and a path
// that names nothing is not opened.
#include "ui/dialogs/ManualPath.h"

#include "DialogTestSupport.h"
#include "app/Language.h"
#include "platform/ShareFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

std::string Manual(const std::string& name) {
    return platform::ShareFolder() + "/Manual/" + name;
}

TEST(ManualPathTest, FileNamesComeFromTheLanguage) {
    {
        dialogtest::LanguageScope japanese(dialogtest::kJapanese);
        EXPECT_EQ(ui::BuildManualPath(62325), Manual("Manual_ja.html"));
        EXPECT_EQ(ui::BuildManualPath(62333), Manual("Document_ja.html"));
        EXPECT_TRUE(std::filesystem::is_regular_file(ui::BuildManualPath(62326)));
    }
    {
        dialogtest::LanguageScope english(dialogtest::kEnglish);
        EXPECT_EQ(ui::BuildManualPath(62325), Manual("Manual_en.html"));
        EXPECT_TRUE(std::filesystem::is_regular_file(ui::BuildManualPath(62333)));
    }
    dialogtest::LanguageScope none(dialogtest::kNoLanguage);
    EXPECT_EQ(ui::BuildManualPath(62326), Manual("License Path"));
    EXPECT_EQ(ui::BuildManualPath("/opt/share", 62326), "/opt/share/Manual/License Path");
}

TEST(ManualPathTest, NamesThatLeaveTheManualFolderGiveNoPath) {
    testsupport::TempFolder folder;
    testsupport::ScopedEnv config("XDG_CONFIG_HOME", folder.File("config"));
    folder.Write("RHYVENU.lng", "[Info]\nLanguage=English\nLanguageID=$0409\n"
                                "[STRINGTABLE]\nID62325=../../../etc/passwd\n"
                                "ID62326=/etc/passwd\nID62333=guide/../../x.html\n"
                                "ID62320=guide/Manual.html\n");
    app::CLanguages languages;
    languages.InitLanguages(0, 0);
    languages.ScanLanguageFolder(folder.Path(), app::CLanguages::kFilePattern, "");
    languages.SelectLanguageId(dialogtest::kEnglish);
    platform::SetTextSource(&languages);
    EXPECT_EQ(ui::BuildManualPath("/share", 62325), "");
    EXPECT_EQ(ui::BuildManualPath("/share", 62326), "");
    EXPECT_EQ(ui::BuildManualPath("/share", 62333), "");
    EXPECT_EQ(ui::BuildManualPath("/share", 62320), "/share/Manual/guide/Manual.html");
    // An id without any text names no document.
    EXPECT_EQ(ui::BuildManualPath("/share", 4242), "");
    platform::SetTextSource(nullptr);
}

TEST(ManualPathTest, NothingToOpenIsNotOpened) {
    testsupport::TempFolder folder;
    EXPECT_FALSE(ui::OpenDocument(""));
    EXPECT_FALSE(ui::OpenDocument(folder.File("missing.html")));
    EXPECT_FALSE(ui::OpenDocument(folder.Path()));
}

} // namespace
