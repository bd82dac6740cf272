#include "platform/ProcessEnvironment.h"

#include "platform/Files.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <string>

namespace platform {
namespace {

using testsupport::ScopedEnv;

TEST(ProcessEnvironment, LocalTimeIsJapanWhateverTheMachineZone) {
    const ScopedEnv tz("TZ", "UTC");
    ::tzset();
    FixTimeZoneJst();
    EXPECT_STREQ(std::getenv("TZ"), "JST-9");
    struct Case {
        std::time_t utc;
        int hour;
        int day;
    };
    // The second instant lies in summer, when zones with daylight saving
    // would move; Japan does not.
    const Case cases[] = {{0, 9, 1}, {1720000000, 18, 3}};
    for (const Case& c : cases) {
        std::tm local{};
        ASSERT_NE(::localtime_r(&c.utc, &local), nullptr);
        EXPECT_EQ(local.tm_hour, c.hour);
        EXPECT_EQ(local.tm_mday, c.day);
        EXPECT_EQ(local.tm_isdst, 0);
    }
}

TEST(ProcessEnvironment, LocaleHandlesUtf8Text) {
    const std::string taken = SetJapaneseLocale();
    EXPECT_TRUE(taken == "ja_JP.UTF-8" || taken == "C.UTF-8") << taken;
    EXPECT_GT(MB_CUR_MAX, 1u);
    std::setlocale(LC_ALL, "C");
}

TEST(ProcessEnvironment, ExecutablePathNamesThisProgram) {
    const std::string path = ExecutablePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_EQ(BaseName(path), "test_platform");
    EXPECT_TRUE(IsRegularFile(path));
}

} // namespace
} // namespace platform
