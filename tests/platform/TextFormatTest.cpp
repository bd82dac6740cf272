#include "platform/TextFormat.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(TextFormat, FormatsByTheArgumentsOwnType) {
    const struct {
        const char* format;
        std::initializer_list<FormatArg> args;
        const char* expected;
    } cases[] = {
        {"%d/%d件のデータ取り込み完了", {3, 5}, "3/5件のデータ取り込み完了"},
        {"%02d:%02d", {9, 5}, "09:05"},
        {"%04d_%s", {7, "x"}, "0007_x"},
        {"%d/%d(%s)", {12, 31, "木"}, "12/31(木)"},
        {"%-4s|", {"ab"}, "ab  |"},
        {"%5s|", {"ab"}, "   ab|"},
        {"%x %X %u", {255, 255, 7}, "ff FF 7"},
        {"100%%", {}, "100%"},
        {"%ld items", {12}, "12 items"},
        // The language file's year format may be "%s": the year still shows.
        {"%s年", {2026}, "2026年"},
        // Too few arguments, or a number where text was expected, never
        // read past the arguments.
        {"%d and %s and %d", {1}, "1 and  and "},
        {"%d", {"text"}, "text"},
        {"%s %s", {"a", "b", "c"}, "a b"},
        // Unknown conversions and a trailing % are dropped.
        {"%n%p%", {1, 2}, ""},
        {"%.2s", {"日本"}, ""},
        {"%.3s", {"日本"}, "日"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatText(c.format, c.args), c.expected) << c.format;
}

TEST(TextFormat, HugeWidthsAreBounded) {
    EXPECT_EQ(FormatText("%99999999d", {1}).size(), 999u);
    EXPECT_EQ(FormatText("%99999999s", {"a"}).size(), 999u);
}

} // namespace
} // namespace platform
