#include "app/LanguageIds.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using testsupport::ScopedEnv;

namespace app {
namespace {

TEST(LanguageIds, KnownIdsCarryNameAndCodePage) {
    ASSERT_TRUE(FindLanguageInfo(0x0411));
    EXPECT_EQ(FindLanguageInfo(0x0411)->nativeName, "日本語");
    EXPECT_EQ(FindLanguageInfo(0x0411)->ansiCodePage, 932u);
    EXPECT_EQ(FindLanguageInfo(0x0419)->ansiCodePage, 1251u);
    EXPECT_EQ(FindLanguageInfo(0x0804)->ansiCodePage, 936u);
    EXPECT_FALSE(FindLanguageInfo(0));
    EXPECT_FALSE(FindLanguageInfo(0x7FFF));
}

TEST(LanguageIds, RightToLeftByPrimaryLanguage) {
    for (LanguageId id : {0x0401, 0x040D, 0x0420, 0x0429, 0x0C01})
        EXPECT_TRUE(IsRightToLeftLanguage(id)) << id;
    for (LanguageId id : {0x0409, 0x0411, 0x041E, 0})
        EXPECT_FALSE(IsRightToLeftLanguage(id)) << id;
}

TEST(LanguageIds, LocaleNamesMapToIds) {
    const struct {
        const char* locale;
        LanguageId id;
    } cases[] = {
        {"ja_JP.UTF-8", 0x0411},
        {"en_US", 0x0409},
        {"en_GB.utf8", 0x0809},
        {"de_AT@euro", 0x0C07},
        {"de_LU.UTF-8", 0x0407},
        {"fr", 0x040C},
        {"zh_CN.GB2312", 0x0804},
        {"es_ES.UTF-8", 0x040A},
        {"C", 0},
        {"C.UTF-8", 0},
        {"POSIX", 0},
        {"", 0},
        {"xx_YY", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageIdFromLocale(c.locale), c.id) << c.locale;
}

TEST(LanguageIds, FirstSetVariableDecides) {
    ScopedEnv all("LC_ALL", std::nullopt);
    ScopedEnv messages("LC_MESSAGES", std::nullopt);
    ScopedEnv lang("LANG", "ja_JP.UTF-8");
    EXPECT_EQ(UserDefaultLanguageId(), 0x0411);
    {
        ScopedEnv set("LC_MESSAGES", "de_DE.UTF-8");
        EXPECT_EQ(UserDefaultLanguageId(), 0x0407);
        ScopedEnv setAll("LC_ALL", "C");
        EXPECT_EQ(UserDefaultLanguageId(), 0);
    }
    ScopedEnv empty("LC_ALL", "");
    EXPECT_EQ(UserDefaultLanguageId(), 0x0411);
}

} // namespace
} // namespace app
