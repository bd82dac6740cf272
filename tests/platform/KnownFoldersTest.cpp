#include "platform/KnownFolders.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace platform {
namespace {

using testsupport::ScopedEnv;
using testsupport::TempFolder;
using testsupport::WriteFile;

// A home and a config folder of the test's own, with no documents
// variable: each test then adds the one source it checks.
class KnownFolders : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(::mkdir(m_strConfig.c_str(), 0700), 0); }

    TempFolder m_folder;
    std::string m_strHome = m_folder.File("home");
    std::string m_strConfig = m_folder.File("config");
    ScopedEnv m_home{"HOME", m_strHome};
    ScopedEnv m_config{"XDG_CONFIG_HOME", m_strConfig};
    ScopedEnv m_documents{"XDG_DOCUMENTS_DIR", std::nullopt};
};

TEST_F(KnownFolders, DocumentsComeFromEachSourceInTurn) {
    EXPECT_EQ(DocumentsFolder(), m_strHome + "/Documents");

    WriteFile(m_strConfig + "/user-dirs.dirs", "# written by xdg-user-dirs-update\n"
                                               "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                               "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(DocumentsFolder(), m_strHome + "/Dokumente");
    EXPECT_EQ(CommonDocumentsFolder(), DocumentsFolder());

    WriteFile(m_strConfig + "/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/first\"\n"
                                               "XDG_DOCUMENTS_DIR=\"/srv/my \\\"docs\\\"/\"\n");
    EXPECT_EQ(DocumentsFolder(), "/srv/my \"docs\"");

    ScopedEnv documents("XDG_DOCUMENTS_DIR", "/data/docs/");
    EXPECT_EQ(DocumentsFolder(), "/data/docs");
}

TEST_F(KnownFolders, IgnoresUnusableUserDirsEntries) {
    WriteFile(m_strConfig + "/user-dirs.dirs", "XDG_DOCUMENTS_DIR=relative/path\n"
                                               "XDG_DOCUMENTS_DIR=\"relative\"\n"
                                               "XDG_DOCUMENTS_DIR=\"$HOMEWORK/x\"\n"
                                               "XDG_DOCUMENTS_DIR=\"/unterminated\n");
    EXPECT_EQ(DocumentsFolder(), m_strHome + "/Documents");
}

TEST_F(KnownFolders, ConfigFolderFallsBackToTheHome) {
    EXPECT_EQ(ConfigFolder(), m_strConfig);
    ScopedEnv relative("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(ConfigFolder(), m_strHome + "/.config");
    ScopedEnv home("HOME", m_strHome + "/");
    EXPECT_EQ(ConfigFolder(), m_strHome + "/.config");
}

TEST_F(KnownFolders, RuntimeFolderIsPrivate) {
    const std::string runtime = m_folder.File("run");
    ASSERT_EQ(::mkdir(runtime.c_str(), 0700), 0);
    ScopedEnv env("XDG_RUNTIME_DIR", runtime);

    EXPECT_EQ(RuntimeFolder(), runtime + "/rhythmora");
    struct stat st {};
    ASSERT_EQ(::stat((runtime + "/rhythmora").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    ASSERT_EQ(::chmod((runtime + "/rhythmora").c_str(), 0777), 0);
    EXPECT_EQ(RuntimeFolder(), runtime + "/rhythmora");
    ASSERT_EQ(::stat((runtime + "/rhythmora").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(KnownFolders, RuntimeFolderOfSomeoneElseIsRefused) {
    const std::string fallback = "/tmp/rhythmora-" + std::to_string(::getuid());
    const std::string runtime = m_folder.File("run");
    ASSERT_EQ(::mkdir(runtime.c_str(), 0700), 0);
    ScopedEnv env("XDG_RUNTIME_DIR", runtime);

    ASSERT_EQ(::mkdir(m_folder.File("elsewhere").c_str(), 0700), 0);
    ASSERT_EQ(::symlink(m_folder.File("elsewhere").c_str(), (runtime + "/rhythmora").c_str()), 0);
    EXPECT_EQ(RuntimeFolder(), fallback);

    ASSERT_EQ(::unlink((runtime + "/rhythmora").c_str()), 0);
    ASSERT_EQ(::mkdir((runtime + "/rhythmora").c_str(), 0700), 0);
    if (::chown((runtime + "/rhythmora").c_str(), ::geteuid() + 1, ::getegid()) != 0) {
        GTEST_SKIP() << "changing the owner needs root";
    }
    EXPECT_EQ(RuntimeFolder(), fallback);
}

TEST_F(KnownFolders, RuntimeFolderWithoutUsableXdgIsPerUserInTmp) {
    ScopedEnv missing("XDG_RUNTIME_DIR", m_folder.File("not-mounted"));
    EXPECT_EQ(RuntimeFolder(), "/tmp/rhythmora-" + std::to_string(::getuid()));

    ScopedEnv env("XDG_RUNTIME_DIR", std::nullopt);
    const std::string expected = "/tmp/rhythmora-" + std::to_string(::getuid());
    EXPECT_EQ(RuntimeFolder(), expected);
    struct stat st {};
    ASSERT_EQ(::lstat(expected.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u);
}

} // namespace
} // namespace platform
