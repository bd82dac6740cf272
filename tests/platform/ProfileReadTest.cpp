#include "platform/Profile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace platform {
namespace {

using testsupport::TempFolder;
using testsupport::WriteFile;

constexpr const char* kFixture = "; settings written by hand\n"
                                 "Orphan=before any section\n"
                                 "[Settings]\n"
                                 "Name = Alice  \n"
                                 "  Spaced Key\t=\ttab value\t\n"
                                 "Quoted=\"  kept spaces  \"\n"
                                 "Single='x'\n"
                                 "Mismatched=\"abc'\n"
                                 "OpenQuote=\"abc\n"
                                 "Empty=\n"
                                 "Equation=a=b\n"
                                 ";Commented=yes\n"
                                 "  ; Indented=comment\n"
                                 "NoEquals\n"
                                 "Dup=first\n"
                                 "Dup=second\n"
                                 "Japanese=日本語テキスト\n"
                                 "[ settings ]\n"
                                 "Name=second section\n"
                                 "OnlyLater=in the duplicate section\n"
                                 "[Numbers]\n"
                                 "Plain=12\n"
                                 "Trailing=12abc\n"
                                 "Negative=-5\n"
                                 "Letters=abc\n"
                                 "Leading= 7\n"
                                 "Big=99999999999\n"
                                 "Small=-99999999999\n"
                                 "Max=2147483647\n"
                                 "Min=-2147483648\n"
                                 "Minus=-\n"
                                 "Quoted=\"42\"\n"
                                 "Empty=\n"
                                 "[Unclosed\n"
                                 "k=v";

class ProfileRead : public testing::Test {
protected:
    void SetUp() override { WriteFile(m_strPath, kFixture); }

    TempFolder m_folder;
    std::string m_strPath = m_folder.File("test.ini");
};

TEST_F(ProfileRead, FollowsTheWindowsRules) {
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"settings", "NAME", "Alice"},             // names without case, value trimmed
        {" Settings ", " Name ", "Alice"},         // requested names trimmed too
        {"SETTINGS", "spaced key", "tab value"},   // tabs count as blanks
        {"Settings", "Quoted", "  kept spaces  "}, // one pair of quotes removed
        {"Settings", "Single", "x"},
        {"Settings", "Mismatched", "\"abc'"},
        {"Settings", "OpenQuote", "\"abc"},
        {"Settings", "Empty", ""},
        {"Settings", "Equation", "a=b"}, // split at the first '='
        {"Settings", "Commented", "(default)"},
        {"Settings", "; Indented", "(default)"},
        {"Settings", "NoEquals", "(default)"},
        {"Settings", "Dup", "first"},           // first key wins
        {"Settings", "OnlyLater", "(default)"}, // first section wins
        {"Settings", "Orphan", "(default)"},
        {"Settings", "Missing", "(default)"},
        {"Missing", "Name", "(default)"},
        {"Unclosed", "k", "v"}, // last line without line break
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.section << "/" << c.key);
        EXPECT_EQ(GetProfileString(m_strPath, c.section, c.key, "(default)", 260), c.expected);
    }
}

TEST_F(ProfileRead, CutsAtBufferSizeLessOneCharacter) {
    struct Case {
        const char* key;
        std::size_t bufferSize;
        const char* expected;
    };
    const Case cases[] = {
        {"Name", 6, "Alice"},  {"Name", 5, "Alic"},       {"Name", 1, ""},
        {"Name", 0, ""},       {"Japanese", 4, "日本語"}, {"Japanese", 8, "日本語テキスト"},
        {"Missing", 4, "def"}, {"Missing", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << " in " << c.bufferSize);
        EXPECT_EQ(GetProfileString(m_strPath, "Settings", c.key, "default", c.bufferSize),
                  c.expected);
    }
}

TEST_F(ProfileRead, ReadsIntegersAsTheWindowsFunctionDoes) {
    struct Case {
        const char* key;
        int expected;
    };
    const Case cases[] = {
        {"Plain", 12},    {"Trailing", 12},   {"Negative", -5}, {"Letters", 0},   {"Leading", 7},
        {"Big", INT_MAX}, {"Small", INT_MIN}, {"Max", INT_MAX}, {"Min", INT_MIN}, {"Minus", 0},
        {"Quoted", 42},   {"Empty", 77},      {"Missing", 77},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(GetProfileInt(m_strPath, "Numbers", c.key, 77), c.expected);
    }
}

TEST(ParseProfileInt, StopsAtTheFirstNonDigitAndSaturates) {
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {" 7", 7},
        {"\t-12x", -12},
        {"007", 7},
        {"", 0},
        {"- 5", 0},
        {"+5", 0},
        {"1 2", 1},
        {"2147483648", INT_MAX},
        {"-2147483649", INT_MIN},
        {"123456789012345678901234567890", INT_MAX},
        {"-123456789012345678901234567890", INT_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseProfileInt(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(ProfileFile, MissingOrOversizedFileGivesTheDefault) {
    TempFolder folder;
    EXPECT_EQ(GetProfileString(folder.File("none.ini"), "S", "k", "def", 260), "def");
    EXPECT_EQ(GetProfileInt(folder.File("none.ini"), "S", "k", -1), -1);
    EXPECT_EQ(GetProfileString(folder.Path(), "S", "k", "def", 260), "def");

    const std::string big = folder.File("big.ini");
    WriteFile(big, "[S]\nk=v\n" + std::string(5 * 1024 * 1024, ';'));
    EXPECT_EQ(GetProfileString(big, "S", "k", "def", 260), "def");
}

TEST(ProfileFile, ReadsCp932FilesAndSkipsTheUtf8ByteOrderMark) {
    TempFolder folder;
    const std::string sjis = folder.File("sjis.ini");
    WriteFile(sjis, "[ECGSaveData]\r\nDirHDD=C:\\\x83\x66\x81\x5B\x83\x5E\\\r\n");
    EXPECT_EQ(GetProfileString(sjis, "ECGSaveData", "DirHDD", "", 260), "C:\\データ\\");

    const std::string bom = folder.File("bom.ini");
    WriteFile(bom, "\xEF\xBB\xBF[First]\nKey=日本\n");
    EXPECT_EQ(GetProfileString(bom, "First", "Key", "", 260), "日本");
}

} // namespace
} // namespace platform
