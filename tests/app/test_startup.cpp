#include "app/StartUp.h"
#include "platform/Files.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <ctime>

using testsupport::ScopedEnv;
using testsupport::TempFolder;

namespace {

TEST(SiblingCheck, MatchesTheExactNameOnly) {
    const struct {
        std::vector<std::string> names;
        bool running;
    } cases[] = {
        {{"bash", "Vitalnote.exe"}, true},
        {{"vitalnote.exe", "VITALNOTE.EXE", "Vitalnote.ex", "Vitalnote.exe "}, false},
        {{}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::IsSiblingRunning(c.names), c.running);
}

TEST(ExecutableFolder, CutsAtTheLastSeparator) {
    EXPECT_EQ(app::ExecutableFolder("/opt/rhythmora/bin/rhythmora"), "/opt/rhythmora/bin");
    EXPECT_EQ(app::ExecutableFolder("/rhythmora"), "/");
    EXPECT_EQ(app::ExecutableFolder("rhythmora"), ".");
}

TEST(SingleInstance, SecondCopyIsRefusedUntilTheFirstEnds) {
    TempFolder runtime;
    ScopedEnv env("XDG_RUNTIME_DIR", runtime.Path());
    auto first = app::AcquireSingleInstance();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(app::AcquireSingleInstance(), nullptr);
    first.reset();
    EXPECT_NE(app::AcquireSingleInstance(), nullptr);
}

TEST(TimeZone, LocalTimeIsJapanWhateverTheMachineSays) {
    ScopedEnv tz("TZ", "America/New_York");
    tzset();
    app::FixLocaleAndTimeZone();
    const std::time_t summer = 1719835200; // 2024-07-01 12:00:00 UTC
    std::tm local{};
    ASSERT_NE(localtime_r(&summer, &local), nullptr);
    EXPECT_EQ(local.tm_hour, 21);
    EXPECT_EQ(local.tm_isdst, 0);
    EXPECT_EQ(local.tm_gmtoff, 9 * 3600);
}

} // namespace
