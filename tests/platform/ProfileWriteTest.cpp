#include "platform/Profile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

namespace platform {
namespace {

using testsupport::ReadFile;
using testsupport::TempFolder;
using testsupport::WriteFile;

struct WriteCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

TEST(ProfileWrite, ChangesOnlyWhatItMust) {
    const std::string settings = "; comment kept\n"
                                 "[Settings]\n"
                                 "  Name = Alice  \n"
                                 "\n"
                                 "Other=1\n"
                                 "; trailing comment\n"
                                 "\n"
                                 "[Next]\n"
                                 "a=b\n";
    const WriteCase cases[] = {
        {"replace keeps the key's spelling and the rest of the file", settings, "SETTINGS", "name",
         "Bob",
         "; comment kept\n[Settings]\n  Name = Bob\n\nOther=1\n; trailing "
         "comment\n\n[Next]\na=b\n"},
        {"new key goes after the section's last key", settings, "settings", "New", "v",
         "; comment kept\n[Settings]\n  Name = Alice  \n\nOther=1\nNew=v\n; trailing comment\n\n"
         "[Next]\na=b\n"},
        {"new key in an empty section follows its header", "[A]\n[B]\nx=1\n", "A", "k", "v",
         "[A]\nk=v\n[B]\nx=1\n"},
        {"new section after a blank line", "[A]\nx=1\n", "B", "k", "v", "[A]\nx=1\n\n[B]\nk=v\n"},
        {"new section when the last line has no line break", "[A]\nx=1", "B", "k", "v",
         "[A]\nx=1\n\n[B]\nk=v\n"},
        {"no second blank line", "[A]\nx=1\n\n", "B", "k", "v", "[A]\nx=1\n\n[B]\nk=v\n"},
        {"empty file", "", "B", "k", "v", "[B]\nk=v\n"},
        {"CRLF kept on replace", "[A]\r\nk=1\r\nz=2\r\n", "A", "k", "9", "[A]\r\nk=9\r\nz=2\r\n"},
        {"CRLF kept on insert", "[A]\r\nk=1\r\n", "A", "n", "2", "[A]\r\nk=1\r\nn=2\r\n"},
        {"CRLF kept on append", "[A]\r\nk=1\r\n", "B", "n", "2",
         "[A]\r\nk=1\r\n\r\n[B]\r\nn=2\r\n"},
        {"only the first of duplicate sections is written", "[A]\nx=1\n[A]\nk=old\n", "A", "k",
         "new", "[A]\nx=1\nk=new\n[A]\nk=old\n"},
        {"byte order mark kept", "\xEF\xBB\xBF[A]\nk=1\n", "A", "k", "2", "\xEF\xBB\xBF[A]\nk=2\n"},
        {"CP932 lines stay as they are", "[A]\nDir=\x83\x66\x81\x5B\x83\x5E\nk=1\n", "A", "k", "2",
         "[A]\nDir=\x83\x66\x81\x5B\x83\x5E\nk=2\n"},
    };
    TempFolder folder;
    const std::string path = folder.File("settings.ini");
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(path, c.before);
        ASSERT_TRUE(WriteProfileString(path, c.section, c.key, c.value));
        EXPECT_EQ(ReadFile(path), c.after);
        EXPECT_EQ(GetProfileString(path, c.section, c.key, "(default)", 260), c.value);
    }
}

TEST(ProfileWrite, CreatesAMissingFile) {
    TempFolder folder;
    const std::string path = folder.File("new.ini");
    ASSERT_TRUE(WriteProfileString(path, "ECGSaveData", "DirHDD", "/home/u/ECGData/"));
    ASSERT_TRUE(WriteProfileString(path, "ECGSaveData", "DirSD", ""));
    ASSERT_TRUE(WriteProfileString(path, "ECGWindowSize", "ECGDataListSizeX", "800"));
    EXPECT_EQ(ReadFile(path), "[ECGSaveData]\nDirHDD=/home/u/ECGData/\nDirSD=\n\n"
                              "[ECGWindowSize]\nECGDataListSizeX=800\n");
    EXPECT_EQ(GetProfileInt(path, "ECGWindowSize", "ECGDataListSizeX", 0), 800);
}

TEST(ProfileWrite, RefusesWritesThatWouldCorruptTheFile) {
    TempFolder folder;
    const std::string path = folder.File("settings.ini");
    const std::string before = "[A]\nk=1\n";
    WriteFile(path, before);
    struct Refused {
        const char* section;
        const char* key;
        const char* value;
    };
    // Line breaks would add lines the next read takes as keys or sections;
    // the other names would read back as something else.
    const Refused refused[] = {
        {"A", "k", "1\n[Injected]\nk=2"},
        {"A", "k", "a\rb"},
        {"A", "k=x", "1"},
        {"A", "", "1"},
        {"A", ";k", "1"},
        {"A", "[k", "1"},
        {"A]", "k", "1"},
        {"", "k", "1"},
        {"A\nB", "k", "1"},
    };
    for (const Refused& r : refused) {
        SCOPED_TRACE(testing::Message() << r.section << "/" << r.key << "=" << r.value);
        EXPECT_FALSE(WriteProfileString(path, r.section, r.key, r.value));
        EXPECT_EQ(ReadFile(path), before);
    }
}

TEST(ProfileWrite, LeavesAFileItCannotReadAlone) {
    TempFolder folder;
    const std::string big = folder.File("big.ini");
    const std::string content = "[S]\nk=v\n" + std::string(5 * 1024 * 1024, ';');
    WriteFile(big, content);
    EXPECT_FALSE(WriteProfileString(big, "S", "k", "new"));
    EXPECT_EQ(ReadFile(big), content);

    const std::string directory = folder.File("dir.ini");
    ASSERT_EQ(::mkdir(directory.c_str(), 0755), 0);
    EXPECT_FALSE(WriteProfileString(directory, "S", "k", "v"));
    EXPECT_FALSE(WriteProfileString(folder.File("missing/x.ini"), "S", "k", "v"));
}

} // namespace
} // namespace platform
