// How settings files in the encodings people have are read and written
// back: a stray byte that is not UTF-8, lines of UTF-8 and CP932 side by
// side, UTF-16 as Windows editors save it; and a settings save that fails
// at any step.
#include "platform/Profile.h"
#include "platform/ProfileBytes.h"

#include "platform/CodePage.h"
#include "support/FaultSteps.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

using testsupport::ReadFile;
using testsupport::TempFolder;
using testsupport::WriteFile;

std::string Utf16Le(std::string_view utf8) {
    return "\xFF\xFE" + Utf8ToUtf16Le(utf8);
}

std::string Utf16Be(std::string_view utf8) {
    std::string units = Utf8ToUtf16Le(utf8);
    for (std::size_t i = 0; i + 1 < units.size(); i += 2)
        std::swap(units[i], units[i + 1]);
    return "\xFE\xFF" + units;
}

TEST(ProfileEncoding, AStrayByteSpoilsOnlyItsOwnLine) {
    // One Latin-1 byte in a comment; the data folder in UTF-8 and an older
    // line in CP932.
    const std::string file = "; caf\xE9 notes\r\n"
                             "[ECGSaveData]\r\n"
                             "DirHDD=/home/ユーザー/心電図/\r\n"
                             "BackupDir=C:\\\x83\x66\x81\x5B\x83\x5E\\\r\n";
    EXPECT_EQ(FindProfileValue(file, "ECGSaveData", "DirHDD"), "/home/ユーザー/心電図/");
    EXPECT_EQ(FindProfileValue(file, "ECGSaveData", "BackupDir"), "C:\\データ\\");

    // A write changes its own line and keeps every other byte.
    const std::optional<std::string> replaced =
        SetProfileValue(file, "ECGSaveData", "BackupDir", "/mnt/バックアップ/");
    ASSERT_TRUE(replaced);
    EXPECT_EQ(*replaced, "; caf\xE9 notes\r\n"
                         "[ECGSaveData]\r\n"
                         "DirHDD=/home/ユーザー/心電図/\r\n"
                         "BackupDir=/mnt/バックアップ/\r\n");
    const std::optional<std::string> added = SetProfileValue(file, "COM", "BaudRate", "1500000");
    ASSERT_TRUE(added);
    EXPECT_EQ(*added, file + "\r\n[COM]\r\nBaudRate=1500000\r\n");
    EXPECT_EQ(FindProfileValue(*added, "ECGSaveData", "DirHDD"), "/home/ユーザー/心電図/");
}

TEST(ProfileEncoding, Utf16FilesAreReadAndWrittenAsUtf16) {
    const std::string text = "[ECGSaveData]\r\nDirHDD=/home/ユーザー/心電図/\r\nDirSD=\r\n"
                             "\r\n[COM]\r\nDevIdKey1=VID_1A3C&PID_0B71\r\n";
    struct Case {
        const char* name;
        std::string (*encode)(std::string_view);
    };
    for (const Case& c : {Case{"little-endian", Utf16Le}, Case{"big-endian", Utf16Be}}) {
        SCOPED_TRACE(c.name);
        const std::string file = c.encode(text);
        EXPECT_EQ(FindProfileValue(file, "ecgsavedata", "dirhdd"), "/home/ユーザー/心電図/");
        EXPECT_EQ(FindProfileValue(file, "COM", "DevIdKey1"), "VID_1A3C&PID_0B71");

        EXPECT_EQ(SetProfileValue(file, "ECGSaveData", "DirSD", "カード"),
                  c.encode("[ECGSaveData]\r\nDirHDD=/home/ユーザー/心電図/\r\nDirSD=カード\r\n"
                           "\r\n[COM]\r\nDevIdKey1=VID_1A3C&PID_0B71\r\n"));
        EXPECT_EQ(SetProfileValue(file, "COM", "BaudRate", "1500000"),
                  c.encode("[ECGSaveData]\r\nDirHDD=/home/ユーザー/心電図/\r\nDirSD=\r\n"
                           "\r\n[COM]\r\nDevIdKey1=VID_1A3C&PID_0B71\r\nBaudRate=1500000\r\n"));
        EXPECT_EQ(SetProfileValue(file, "COMMON", "MaxImageListSize", "100"),
                  c.encode(text + "\r\n[COMMON]\r\nMaxImageListSize=100\r\n"));
    }
    // A last odd byte is no character; it stays where it was.
    const std::string odd = Utf16Le("[A]\nk=1\n") + "\x41";
    EXPECT_EQ(SetProfileValue(odd, "A", "k", "2"), Utf16Le("[A]\nk=2\n") + "\x41");
    EXPECT_EQ(SetProfileValue("\xFF\xFE", "A", "k", "v"), Utf16Le("[A]\nk=v\n"));
}

TEST(ProfileEncoding, TheFileFunctionsKeepTheEncoding) {
    TempFolder folder;
    const std::string path = folder.File("TorvaneRhythmora.ini");
    WriteFile(path, Utf16Le("[ECGSaveData]\r\nDirHDD=/データ/\r\n"));
    EXPECT_EQ(GetProfileString(path, "ECGSaveData", "DirHDD", "", 210), "/データ/");
    ASSERT_TRUE(WriteProfileString(path, "ECGSaveData", "DirHDD", "/新しい/"));
    EXPECT_EQ(ReadFile(path), Utf16Le("[ECGSaveData]\r\nDirHDD=/新しい/\r\n"));
}

TEST(ProfileEncoding, ASettingsSaveThatFailsLeavesTheFileAsItWas) {
    TempFolder folder;
    const std::string path = folder.File("TorvaneRhythmora.ini");
    const std::string before = "[ECGSaveData]\nDirHDD=/データ/\n";
    bool written = false;
    testsupport::ForEachFailingCall(
        EIO, [&] { WriteFile(path, before); },
        [&] { written = WriteProfileString(path, "ECGWindowSize", "ECGDataListSizeX", "800"); },
        [&](std::uint64_t) {
            EXPECT_TRUE(testsupport::TemporaryFiles(folder.Path()).empty());
            EXPECT_EQ(ReadFile(path),
                      written ? before + "\n[ECGWindowSize]\nECGDataListSizeX=800\n" : before);
        });
}

} // namespace
} // namespace platform
