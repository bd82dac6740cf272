#include "platform/ShareFolder.h"

#include "platform/Files.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

using testsupport::TempFolder;

TEST(ShareFolder, PrefersTheInstalledShareFolder) {
    TempFolder prefix;
    const std::string exe = prefix.File("bin/rhythmora");
    const std::string source = "/src/rhythmora/resources";
    EXPECT_EQ(ShareFolderFor(exe, source), source);

    ASSERT_TRUE(CreateFolderTree(prefix.File("share/rhythmora")));
    EXPECT_EQ(ShareFolderFor(exe, source), prefix.File("share/rhythmora"));

    EXPECT_EQ(ShareFolderFor("", source), source);
    EXPECT_EQ(ShareFolderFor("bin/rhythmora", source), source);
}

TEST(ShareFolder, BuildTreeUsesTheSourceResources) {
    // The test binary runs from the build folder, which has no share folder.
    EXPECT_TRUE(IsRegularFile(ShareFolder() + "/ResourceTexts.inc"));
}

} // namespace
} // namespace platform
