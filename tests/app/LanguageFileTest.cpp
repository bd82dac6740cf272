#include "app/LanguageFile.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(LanguageIdText, HexDigitsAfterTheDollarInSixteenBits) {
    const struct {
        const char* text;
        std::uint16_t id;
    } cases[] = {
        {"$0411", 0x0411},
        {"$0c0a", 0x0C0A},
        {"$409 ; US", 0x0409},
        {"$04G1", 0x0004},
        {"$12345", 0x2345},
        {"0411", 0},
        {"$", 0},
        {"", 0},
        {" $0411", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseLanguageIdText(c.text), c.id) << c.text;
}

TEST(Escapes, ControlLettersAndAnyOtherCharacter) {
    const struct {
        const char* value;
        const char* decoded;
    } cases[] = {
        {"Delete\\nnow?", "Delete\nnow?"},
        {"C:\\\\data", "C:\\data"},
        {"\\a\\b\\f\\r\\t\\v", "\a\b\f\r\t\v"},
        {"\\q\\%", "q%"},
        {"end\\", "end\\"},
        {"表\\n", "表\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeEscapes(c.value), c.decoded) << c.value;
}

TEST(LanguageFileText, ProfileRulesForNamesValuesAndComments) {
    const CLanguageFile file = CLanguageFile::FromBytes("; comment\r\n"
                                                        "[info]\r\n"
                                                        "  language =  \"Deutsch\"  \r\n"
                                                        "LANGUAGE=second key loses\r\n"
                                                        "[STRINGTABLE]\n"
                                                        "ID1=a=b\n"
                                                        "[Info]\n"
                                                        "Product=second section loses\n",
                                                        1252);
    EXPECT_EQ(file.Value("INFO", "Language"), "Deutsch");
    EXPECT_EQ(file.Value("StringTable", "id1"), "a=b");
    EXPECT_EQ(file.Value("Info", "Product"), "");
    EXPECT_EQ(file.Value("Missing", "ID1"), "");
}

TEST(LanguageFileText, DecodedWithTheCodePageUnlessItStartsWithAByteOrderMark) {
    // 0x95 0x5C is "表" in Shift-JIS; its second byte is a backslash in ASCII.
    const std::string shiftJis = "[S]\nK=\x95\x5C\x8E\xA6\n";
    EXPECT_EQ(CLanguageFile::FromBytes(shiftJis, 932).Value("S", "K"), "表示");
    EXPECT_EQ(CLanguageFile::FromBytes("\xEF\xBB\xBF[S]\nK=表示\n", 932).Value("S", "K"), "表示");
    EXPECT_EQ(CLanguageFile::FromBytes("[S]\nK=caf\xE9\n", 1252).Value("S", "K"), "café");
}

TEST(FirstCharacters, NeverSplitsACharacter) {
    EXPECT_EQ(FirstCharacters("日本語", 2), "日本");
    EXPECT_EQ(FirstCharacters("abc", 5), "abc");
    EXPECT_EQ(FirstCharacters("abc", 0), "");
}

} // namespace
} // namespace app
