#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

struct RoundTrip {
    CodePage cp;
    std::string bytes;
    std::string utf8;
};

TEST(CodePage, ConvertsBothWaysExactly) {
    const RoundTrip cases[] = {
        {932, "\x93\xFA\x96\x7B\x8C\xEA", "日本語"},
        {932, "ECG \xB1\xB2", "ECG ｱｲ"}, // half-width katakana, single bytes
        {932, "\x87\x40", "①"},          // a character only Windows' Shift-JIS has
        {936, "\xD6\xD0\xCE\xC4", "中文"},
        {949, "\xC7\xD1", "한"},
        {950, "\xA4\xA4", "中"},
        {1252, "caf\xE9 \x80", "café €"},
        {1251, "\xCF\xF0\xE8", "При"},
        {kCodePageUtf8, "日本", "日本"},
        {kCodePageUtf16Le, std::string("A\0\x3D\xD8\x00\xDE", 6), "A😀"},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(testing::Message() << "code page " << c.cp << ": " << c.utf8);
        EXPECT_TRUE(IsCodePageSupported(c.cp));
        EXPECT_EQ(DecodeToUtf8(c.bytes, c.cp), c.utf8);
        EXPECT_EQ(DecodeToUtf8Lenient(c.bytes, c.cp), c.utf8);
        EXPECT_EQ(EncodeFromUtf8(c.utf8, c.cp), c.bytes);
    }
}

TEST(CodePage, StrictConversionsRefuseWhatTheyCannotRepresent) {
    EXPECT_FALSE(IsCodePageSupported(12345));
    EXPECT_EQ(DecodeToUtf8("abc", 12345), std::nullopt);
    EXPECT_EQ(EncodeFromUtf8("abc", 12345), std::nullopt);

    EXPECT_EQ(DecodeToUtf8("A\x93", 932), std::nullopt);    // lead byte cut off
    EXPECT_EQ(DecodeToUtf8("\x81\x20", 932), std::nullopt); // invalid trail byte
    EXPECT_EQ(DecodeToUtf8("\xC3(", kCodePageUtf8), std::nullopt);
    EXPECT_EQ(DecodeToUtf8(std::string("\x00\xD8", 2), kCodePageUtf16Le), std::nullopt);
    EXPECT_EQ(DecodeToUtf8("A", kCodePageUtf16Le), std::nullopt);

    EXPECT_EQ(EncodeFromUtf8("😀", 932), std::nullopt);
    EXPECT_EQ(EncodeFromUtf8("日本", 1252), std::nullopt);
    EXPECT_EQ(EncodeFromUtf8("\xFF", kCodePageUtf16Le), std::nullopt);
}

TEST(CodePage, LenientDecodingReplacesEachInvalidSequenceAndGoesOn) {
    struct Case {
        CodePage cp;
        std::string bytes;
        std::string expected;
    };
    const Case cases[] = {
        {932, "A\x93", "A" + kReplacement},
        {932,
         "\x81\x20"
         "B",
         kReplacement + " B"},
        {932, "\xFF\x93\xFA", kReplacement + "日"},
        {kCodePageUtf16Le,
         std::string("\x00\xD8"
                     "A\0",
                     4),
         kReplacement + "A"}, // lone high
        {kCodePageUtf16Le,
         std::string("\x00\xDC"
                     "A\0",
                     4),
         kReplacement + "A"},                                                  // lone low
        {kCodePageUtf16Le, std::string("A\0\x3D\xD8", 4), "A" + kReplacement}, // high at end
        {kCodePageUtf16Le, std::string("A\0B", 3), "A" + kReplacement},        // odd byte
        {kCodePageUtf8, "a\xC3(b", "a" + kReplacement + "(b"},
        {kCodePageUtf8,
         "\xE3\x81"
         "A",
         kReplacement + "A"},                                     // truncated sequence
        {kCodePageUtf8, "\xC0\xAF", kReplacement + kReplacement}, // overlong
        {kCodePageUtf8, "\xED\xA0\x80", kReplacement + kReplacement + kReplacement}, // surrogate
        {12345, "ab\xE9", "ab" + kReplacement}, // unknown code page
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code page " << c.cp << ": " << c.expected);
        EXPECT_EQ(DecodeToUtf8Lenient(c.bytes, c.cp), c.expected);
    }
    EXPECT_EQ(Utf16LeToUtf8(std::string("A\0\x3D\xD8", 4)), "A" + kReplacement);
}

TEST(CodePage, Utf8ToUtf16LeReplacesBadBytesAndCountsUnits) {
    EXPECT_EQ(Utf8ToUtf16Le("a\xFF"
                            "b"),
              std::string("a\0\xFD\xFF"
                          "b\0",
                          6));

    struct Case {
        std::string utf8;
        std::size_t units;
    };
    const Case cases[] = {
        {"", 0},  {"A", 1},   {"é", 1},    {"日本", 2},
        {"😀", 2}, {"a😀b", 4}, {"\xFF", 1}, {"\xE3\x81", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Utf16Length(c.utf8), c.units);
        EXPECT_EQ(Utf8ToUtf16Le(c.utf8).size(), 2 * c.units);
    }
}

TEST(CodePage, RecognisesWellFormedUtf8Only) {
    for (const std::string valid : {"", "plain", "é", "日本語", "😀", "\xF4\x8F\xBF\xBF"}) {
        EXPECT_TRUE(IsValidUtf8(valid)) << valid;
    }
    const std::string invalid[] = {
        "\x80",             // continuation byte alone
        "\xC0\x80",         // overlong NUL
        "\xE0\x9F\xBF",     // overlong three-byte form
        "\xED\xA0\x80",     // UTF-16 surrogate
        "\xF4\x90\x80\x80", // above U+10FFFF
        "\xF5\x80\x80\x80",
        "\xE3\x81", // truncated
        "ok\xFE",
    };
    for (const std::string& bytes : invalid) {
        EXPECT_FALSE(IsValidUtf8(bytes)) << testing::PrintToString(bytes);
    }
}

} // namespace
} // namespace platform
