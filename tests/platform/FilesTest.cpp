#include "platform/Files.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace platform {
namespace {

using testsupport::ReadFile;
using testsupport::TempFolder;
using testsupport::WriteFile;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

std::size_t EntryCount(const std::string& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

TEST(WriteFileAtomic, ReplacesContentAndKeepsPermissionBits) {
    TempFolder folder;
    const std::string path = folder.File("record.ecg");
    WriteFile(path, "old content that is longer");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);

    ASSERT_TRUE(WriteFileAtomic(path, "new"));
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(EntryCount(folder.Path()), 1u); // no temporary file left behind
}

TEST(WriteFileAtomic, GivesANewFileTheUmaskMode) {
    TempFolder folder;
    const mode_t oldMask = ::umask(027);
    const bool written = WriteFileAtomic(folder.File("new.ini"), std::string("a\0b", 3));
    ::umask(oldMask);
    ASSERT_TRUE(written);
    EXPECT_EQ(ReadFile(folder.File("new.ini")), std::string("a\0b", 3));
    EXPECT_EQ(ModeOf(folder.File("new.ini")), 0640u);
}

TEST(WriteFileAtomic, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    TempFolder folder;
    const std::string path = folder.File("record.ecg");
    WriteFile(path, "old");

    // A file size limit makes the write itself fail, which works for root
    // too. The signal it raises is ignored so that write() reports EFBIG.
    struct rlimit oldLimit {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
    struct rlimit small = oldLimit;
    small.rlim_cur = 1024;
    const sighandler_t oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteFileAtomic(path, std::string(4096, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &oldLimit);
    ::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(EntryCount(folder.Path()), 1u);
}

TEST(WriteFileAtomic, RefusesTargetsItCannotReplace) {
    TempFolder folder;
    EXPECT_FALSE(WriteFileAtomic(folder.File("missing/x.ecg"), "data"));
    ASSERT_TRUE(CreateOneFolder(folder.File("dir")));
    WriteFile(folder.File("dir/inner"), "kept");
    EXPECT_FALSE(WriteFileAtomic(folder.File("dir"), "data"));
    EXPECT_FALSE(WriteFileAtomic(folder.File("file/"), "data"));
    EXPECT_EQ(ReadFile(folder.File("dir/inner")), "kept");
    EXPECT_EQ(EntryCount(folder.Path()), 1u);
}

TEST(WriteFileAtomic, WritesThroughASymbolicLink) {
    TempFolder folder;
    WriteFile(folder.File("real.ini"), "old");
    ASSERT_EQ(::symlink("real.ini", folder.File("link.ini").c_str()), 0);
    ASSERT_TRUE(WriteFileAtomic(folder.File("link.ini"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.ini")));
    EXPECT_EQ(ReadFile(folder.File("real.ini")), "new");
}

TEST(WriteNewFileAtomic, CreatesButNeverReplacesAnythingAtTheName) {
    TempFolder folder;
    int error = 0;
    ASSERT_TRUE(WriteNewFileAtomic(folder.File("new.edf"), "first", &error));
    EXPECT_EQ(ReadFile(folder.File("new.edf")), "first");
    EXPECT_FALSE(WriteNewFileAtomic(folder.File("new.edf"), "second", &error));
    EXPECT_EQ(error, EEXIST);
    EXPECT_EQ(ReadFile(folder.File("new.edf")), "first");
    // A link at the name counts as taken, also one that leads nowhere; the
    // place it points to is never created.
    ASSERT_EQ(::symlink("elsewhere.edf", folder.File("dangling.edf").c_str()), 0);
    EXPECT_FALSE(WriteNewFileAtomic(folder.File("dangling.edf"), "data", &error));
    EXPECT_EQ(error, EEXIST);
    EXPECT_FALSE(FileExists(folder.File("elsewhere.edf")));
    EXPECT_EQ(EntryCount(folder.Path()), 2u); // no temporary file left
}

TEST(ReadWholeFile, HonoursTheBoundExactly) {
    TempFolder folder;
    const std::string path = folder.File("ten");
    WriteFile(path, "0123456789");
    EXPECT_EQ(ReadWholeFile(path, 10), "0123456789");
    EXPECT_EQ(ReadWholeFile(path, 9), std::nullopt);
    WriteFile(folder.File("empty"), "");
    EXPECT_EQ(ReadWholeFile(folder.File("empty"), 0), "");
    EXPECT_EQ(ReadWholeFile(folder.File("missing"), 100), std::nullopt);
    EXPECT_EQ(ReadWholeFile(folder.Path(), 100), std::nullopt);
    ASSERT_EQ(::mkfifo(folder.File("fifo").c_str(), 0600), 0);
    EXPECT_EQ(ReadWholeFile(folder.File("fifo"), 100), std::nullopt); // and does not block
    // Files whose size the kernel does not know in advance.
    const std::optional<std::string> comm = ReadWholeFile("/proc/self/comm", 100);
    ASSERT_TRUE(comm.has_value());
    EXPECT_FALSE(comm->empty());
}

TEST(Folders, CreateOneLevelOrAWholeTree) {
    TempFolder folder;
    EXPECT_TRUE(CreateOneFolder(folder.File("one")));
    EXPECT_TRUE(CreateOneFolder(folder.File("one")));            // existing is success
    EXPECT_FALSE(CreateOneFolder(folder.File("missing/child"))); // no parent made
    EXPECT_FALSE(FileExists(folder.File("missing")));
    WriteFile(folder.File("file"), "x");
    EXPECT_FALSE(CreateOneFolder(folder.File("file")));

    EXPECT_TRUE(CreateFolderTree(folder.File("a/b//c/")));
    EXPECT_TRUE(IsDirectory(folder.File("a/b/c")));
    EXPECT_TRUE(CreateFolderTree(folder.File("a/b/c")));
    EXPECT_FALSE(CreateFolderTree(folder.File("file/sub")));
    EXPECT_FALSE(CreateFolderTree(""));
}

TEST(Files, TellsKindsAndWritability) {
    TempFolder folder;
    const std::string file = folder.File("file");
    WriteFile(file, "x");
    ASSERT_EQ(::symlink("nowhere", folder.File("dangling").c_str()), 0);
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(IsRegularFile(file));
    EXPECT_FALSE(IsDirectory(file));
    EXPECT_TRUE(IsDirectory(folder.Path()));
    EXPECT_FALSE(IsRegularFile(folder.Path()));
    EXPECT_TRUE(FileExists(folder.File("dangling")));
    EXPECT_FALSE(IsRegularFile(folder.File("dangling")));
    EXPECT_FALSE(FileExists(folder.File("missing")));

    EXPECT_TRUE(CanWrite(file));
    EXPECT_TRUE(CanWrite(folder.Path()));
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    EXPECT_FALSE(CanWrite(file)); // read-only, whoever runs the test
    EXPECT_FALSE(CanWrite(folder.File("missing")));
    EXPECT_TRUE(SyncPath(file));
    EXPECT_TRUE(SyncPath(folder.Path()));
    EXPECT_FALSE(SyncPath(folder.File("missing")));
}

TEST(Paths, SplitAndJoinOnSlashes) {
    struct Split {
        const char* path;
        const char* parent;
        const char* base;
    };
    const Split splits[] = {
        {"/a/b/c.ecg", "/a/b", "c.ecg"},
        {"/a/b/", "/a", "b"},
        {"/a", "/", "a"},
        {"/", "/", ""},
        {"a//b", "a", "b"},
        {"name", "", "name"},
        {"", "", ""},
    };
    for (const Split& s : splits) {
        EXPECT_EQ(ParentFolder(s.path), s.parent) << s.path;
        EXPECT_EQ(BaseName(s.path), s.base) << s.path;
    }
    struct Join {
        const char* folder;
        const char* name;
        const char* joined;
    };
    const Join joins[] = {
        {"/data", "x.ecg", "/data/x.ecg"},
        {"/data/", "/x.ecg", "/data/x.ecg"},
        {"/", "x", "/x"},
        {"", "x", "x"},
        {"/data", "", "/data/"},
        {"rel", "a/b", "rel/a/b"},
    };
    for (const Join& j : joins) {
        EXPECT_EQ(JoinPath(j.folder, j.name), j.joined) << j.folder << " + " << j.name;
    }
}

} // namespace
} // namespace platform
