#include "platform/NamedLock.h"

#include "platform/Files.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace platform {
namespace {

using testsupport::ScopedEnv;
using testsupport::TempFolder;

// flock locks belong to the open file description, so two lock objects in
// one process exclude each other just as two processes do.
class NamedLock : public testing::Test {
protected:
    TempFolder m_folder;
    ScopedEnv m_runtime{"XDG_RUNTIME_DIR", m_folder.Path()};
};

TEST_F(NamedLock, ExcludesASecondHolderUntilReleased) {
    CNamedLock first("__Rhythmora_Mutex__");
    CNamedLock second("__Rhythmora_Mutex__");
    EXPECT_FALSE(CNamedLock::IsTaken("__Rhythmora_Mutex__"));

    ASSERT_TRUE(first.TryAcquire());
    EXPECT_TRUE(first.IsHeld());
    EXPECT_TRUE(first.TryAcquire()); // holding it already is success
    EXPECT_TRUE(CNamedLock::IsTaken("__Rhythmora_Mutex__"));
    EXPECT_FALSE(second.TryAcquire());
    EXPECT_FALSE(second.IsHeld());
    EXPECT_TRUE(CNamedLock::IsTaken("__Rhythmora_Mutex__")); // IsTaken did not take it

    first.Release();
    EXPECT_FALSE(first.IsHeld());
    EXPECT_FALSE(CNamedLock::IsTaken("__Rhythmora_Mutex__"));
    EXPECT_TRUE(second.TryAcquire());
    EXPECT_TRUE(FileExists(m_folder.File("rhythmora/__Rhythmora_Mutex__.lock")));
}

TEST_F(NamedLock, DestructionReleasesAndNamesAreIndependent) {
    {
        CNamedLock print("__Rhythmora_PrintDlg_Mutex__");
        ASSERT_TRUE(print.TryAcquire());
        CNamedLock other("__Rhythmora_Mutex__");
        EXPECT_TRUE(other.TryAcquire());
        EXPECT_TRUE(CNamedLock::IsTaken("__Rhythmora_PrintDlg_Mutex__"));
    }
    EXPECT_FALSE(CNamedLock::IsTaken("__Rhythmora_PrintDlg_Mutex__"));
    EXPECT_FALSE(CNamedLock::IsTaken("__Rhythmora_Mutex__"));
}

TEST_F(NamedLock, RefusesNamesAndPlacesThatAreNotItsOwn) {
    CNamedLock escaping("../escape");
    EXPECT_FALSE(escaping.TryAcquire());
    EXPECT_FALSE(FileExists(m_folder.File("escape.lock")));
    CNamedLock empty("");
    EXPECT_FALSE(empty.TryAcquire());

    ASSERT_EQ(::mkdir(m_folder.File("rhythmora").c_str(), 0700), 0);
    ASSERT_EQ(
        ::symlink(m_folder.File("target").c_str(), m_folder.File("rhythmora/planted.lock").c_str()),
        0);
    CNamedLock planted("planted");
    EXPECT_FALSE(planted.TryAcquire());
    EXPECT_FALSE(FileExists(m_folder.File("target")));
}

} // namespace
} // namespace platform
