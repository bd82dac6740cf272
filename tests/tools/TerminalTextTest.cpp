// What may reach a terminal of the text the tool prints from outside.
#include "tools/TerminalText.h"

#include <gtest/gtest.h>

namespace {

TEST(TerminalText, ControlCharactersAndStrayBytesAreShownAsEscapes) {
    struct Row {
        const char* text;
        const char* field;
        const char* message;
    };
    const Row rows[] = {
        {"plain ascii", "plain ascii", "plain ascii"},
        {"記録 ① é", "記録 ① é", "記録 ① é"},
        {"\x1b]0;title\x07", "\\x1b]0;title\\x07", "\\x1b]0;title\\x07"},
        {"two\nlines\tand\rback", "two\\nlines\\tand\\rback", "two\nlines\tand\\rback"},
        {"del\x7f", "del\\x7f", "del\\x7f"},
        // C1 controls: U+0080 and U+009F, not U+00A0.
        {"\xc2\x80\xc2\x9f\xc2\xa0", "\\u0080\\u009f\xc2\xa0", "\\u0080\\u009f\xc2\xa0"},
        // The marks that reorder text around them.
        {"a\u202eb\u2066c\u200fd", "a\\u202eb\\u2066c\\u200fd", "a\\u202eb\\u2066c\\u200fd"},
        // Bytes that are not UTF-8: a lone byte, a cut sequence, an overlong form.
        {"\xff\xe3\x81 \xc0\xaf", "\\xff\\xe3\\x81 \\xc0\\xaf", "\\xff\\xe3\\x81 \\xc0\\xaf"},
        {"back\\slash", "back\\\\slash", "back\\slash"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(tool::TerminalField(row.text), row.field) << row.field;
        EXPECT_EQ(tool::TerminalMessage(row.text), row.message) << row.field;
    }
    EXPECT_EQ(tool::TerminalField(std::string("a\0b", 3)), "a\\x00b");
}

} // namespace
