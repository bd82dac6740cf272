// The two saves of the file helpers under failure at every step, a name
// that is never taken twice, the owner a replaced file keeps, and the
// temporary files a killed save leaves behind.
#include "platform/FileCalls.h"
#include "platform/Files.h"

#include "support/FaultSteps.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace platform {
namespace {

using testsupport::ForEachFailingCall;
using testsupport::ReadFile;
using testsupport::TempFolder;
using testsupport::TemporaryFiles;
using testsupport::WriteFile;

TEST(FileSaves, AFailureAtAnyStepLeavesTheOldFileAndNoTemporaryFile) {
    for (const int error : {ENOSPC, EIO}) {
        SCOPED_TRACE(error);
        TempFolder folder;
        const std::string path = folder.File("record.ecg");
        bool saved = false;
        int reported = 0;
        const std::uint64_t calls = ForEachFailingCall(
            error, [&] { WriteFile(path, "old"); },
            [&] { saved = WriteFileAtomic(path, "new content", &reported); },
            [&](std::uint64_t failed) {
                EXPECT_TRUE(TemporaryFiles(folder.Path()).empty());
                // The folder's flush comes after the rename: the new file is
                // in place whether it succeeds or not.
                const std::string now = ReadFile(path);
                if (saved) {
                    EXPECT_EQ(now, "new content");
                } else {
                    EXPECT_NE(failed, 0u);
                    EXPECT_EQ(now, "old");
                    EXPECT_EQ(reported, error);
                }
            });
        // Create, write, flush, rename and the folder's flush.
        EXPECT_EQ(calls, 5u);
    }
}

TEST(FileSaves, ANewFileAppearsCompleteOrNotAtAll) {
    TempFolder folder;
    const std::string path = folder.File("d261208233507_0001.ecg");
    bool saved = false;
    int reported = 0;
    ForEachFailingCall(
        ENOSPC, [&] { std::filesystem::remove(path); },
        [&] { saved = WriteNewFileAtomic(path, "the recording", &reported); },
        [&](std::uint64_t) {
            EXPECT_TRUE(TemporaryFiles(folder.Path()).empty());
            if (saved) {
                EXPECT_EQ(ReadFile(path), "the recording");
            } else {
                EXPECT_FALSE(std::filesystem::exists(path));
                EXPECT_EQ(reported, ENOSPC);
            }
        });
}

TEST(FileSaves, ANewFileNeverReplacesWhatHasItsName) {
    TempFolder folder;
    WriteFile(folder.File("taken.ecg"), "kept");
    ASSERT_TRUE(CreateOneFolder(folder.File("dir.ecg")));
    ASSERT_EQ(::symlink("nowhere", folder.File("link.ecg").c_str()), 0);
    for (const char* name : {"taken.ecg", "dir.ecg", "link.ecg"}) {
        SCOPED_TRACE(name);
        int error = 0;
        EXPECT_FALSE(WriteNewFileAtomic(folder.File(name), "new", &error));
        EXPECT_EQ(error, EEXIST);
    }
    EXPECT_EQ(ReadFile(folder.File("taken.ecg")), "kept");
    EXPECT_FALSE(std::filesystem::exists(folder.File("nowhere")));
    EXPECT_TRUE(TemporaryFiles(folder.Path()).empty());

    // A file system that cannot rename without replacing gets a hard link,
    // which refuses a taken name just the same.
    {
        const fs::CFileFaultScope fallback({.failAt = 4, .error = EINVAL});
        EXPECT_TRUE(WriteNewFileAtomic(folder.File("linked.ecg"), "linked"));
        EXPECT_TRUE(fs::FaultInjected());
    }
    EXPECT_EQ(ReadFile(folder.File("linked.ecg")), "linked");
    EXPECT_TRUE(TemporaryFiles(folder.Path()).empty());
}

TEST(FileSaves, OfManySavesAtOnceUnderOneNameExactlyOneWins) {
    TempFolder folder;
    const std::string path = folder.File("p261208233507_0001.ecg");
    constexpr int kSavers = 8;
    std::atomic<int> won{0};
    std::vector<std::thread> savers;
    for (int i = 0; i < kSavers; ++i) {
        savers.emplace_back([&, i] {
            int error = 0;
            if (WriteNewFileAtomic(path, "saver " + std::to_string(i), &error))
                ++won;
            else
                EXPECT_EQ(error, EEXIST);
        });
    }
    for (std::thread& saver : savers)
        saver.join();
    EXPECT_EQ(won.load(), 1);
    EXPECT_TRUE(ReadFile(path).starts_with("saver "));
    EXPECT_TRUE(TemporaryFiles(folder.Path()).empty());
}

TEST(FileSaves, AReplacedFileKeepsItsOwnerAndGroup) {
    TempFolder folder;
    const std::string path = folder.File("shared.ecg");
    WriteFile(path, "old");
    uid_t owner = ::geteuid();
    gid_t group = ::getegid();
    if (owner == 0) {
        owner = 65534;
        group = 65534;
    } else {
        gid_t groups[64];
        const int count = ::getgroups(64, groups);
        for (int i = 0; i < count; ++i)
            if (groups[i] != group) {
                group = groups[i];
                break;
            }
        if (group == ::getegid())
            GTEST_SKIP() << "no second group to give the file";
    }
    ASSERT_EQ(::chown(path.c_str(), owner, group), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0664), 0);
    ASSERT_TRUE(WriteFileAtomic(path, "new"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, owner);
    EXPECT_EQ(st.st_gid, group);
    EXPECT_EQ(st.st_mode & 07777, 0664u);
}

TEST(FileSaves, TemporaryNamesAreRecognised) {
    struct Case {
        const char* name;
        std::optional<std::string> target;
    };
    const Case cases[] = {
        {".d261208233507_0001.ecg.Ab12Cd.tmp", "d261208233507_0001.ecg"},
        {"d261208233507_0001.ecg.tmpAb12Cd", "d261208233507_0001.ecg"}, // earlier versions
        {".TorvaneRhythmora.ini.zzzzzz.tmp", "TorvaneRhythmora.ini"},
        {"d261208233507_0001.ecg", std::nullopt},
        {".hidden.ecg", std::nullopt},
        {".x.Ab12C.tmp", std::nullopt},  // five characters
        {".x.Ab1-Cd.tmp", std::nullopt}, // not letters and digits
        {"..Ab12Cd.tmp", std::nullopt},  // no target
        {".tmpAb12Cd", std::nullopt},
        {"x.tmpAb12Cde", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TemporaryTarget(c.name), c.target);
    }
}

TEST(FileSaves, OnlyTemporaryFilesWithoutALiveWriterAreRemoved) {
    TempFolder folder;
    const std::string stale = folder.File(".a.ecg.AAAAAA.tmp");
    const std::string legacy = folder.File("b.ecg.tmpBBBBBB");
    const std::string held = folder.File(".c.ecg.CCCCCC.tmp");
    const std::string otherTarget = folder.File(".notes.txt.DDDDDD.tmp");
    for (const std::string& path : {stale, legacy, held, otherTarget})
        WriteFile(path, "partial");
    WriteFile(folder.File("d.ecg"), "a record");

    // A writer holds its lock while it writes.
    const int writer = ::open(held.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    EXPECT_EQ(RemoveStaleTemporaryFiles(folder.Path(), ".ECG"), 2);
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_FALSE(std::filesystem::exists(legacy));
    EXPECT_TRUE(std::filesystem::exists(held));
    EXPECT_TRUE(std::filesystem::exists(otherTarget));
    EXPECT_TRUE(std::filesystem::exists(folder.File("d.ecg")));

    ::close(writer);
    EXPECT_EQ(RemoveStaleTemporaryFiles(folder.Path(), ".ecg"), 1);
    EXPECT_FALSE(std::filesystem::exists(held));
    EXPECT_EQ(RemoveStaleTemporaryFiles(folder.File("missing"), ".ecg"), 0);
}

} // namespace
} // namespace platform
