#include "platform/ShareFolder.h"

#include "platform/Files.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

using testsupport::TempFolder;

// A prefix with bin/ and, for some cases, a source tree to point at.
class ShareFolderRule : public ::testing::Test {
protected:
    TempFolder root;
    std::string Exe() const { return root.File("prefix/bin/rhythmora"); }
    std::string Installed() const { return root.File("prefix/share/rhythmora"); }
    std::string Resources() const { return root.File("src/resources"); }
    void SetUp() override {
        ASSERT_TRUE(CreateFolderTree(root.File("prefix/bin")));
        ASSERT_TRUE(CreateFolderTree(Resources()));
    }
    void Mark(const std::string& content) const {
        testsupport::WriteFile(root.File("prefix/bin/rhythmora-build-tree"), content);
    }
};

TEST_F(ShareFolderRule, AnInstalledProgramUsesItsShareFolderEvenBesideAMarker) {
    ASSERT_TRUE(CreateFolderTree(Installed()));
    EXPECT_EQ(ShareFolderFor(Exe()), Installed());
    Mark(Resources() + "\n");
    EXPECT_EQ(ShareFolderFor(Exe()), Installed());
}

TEST_F(ShareFolderRule, OnlyAMarkerNamingAFolderLeadsToTheSourceTree) {
    // Without a usable marker the program never looks anywhere else: the
    // installed place is named, missing as it is.
    EXPECT_EQ(ShareFolderFor(Exe()), Installed());
    const struct {
        std::string content;
        bool taken;
    } cases[] = {
        {Resources() + "\n", true},
        {Resources() + "\r\nmore", true},
        {Resources(), true},
        {"", false},
        {"src/resources\n", false},               // relative
        {root.File("src/missing") + "\n", false}, // no such folder
        {std::string(5000, '/'), false},          // longer than any path the build writes
    };
    for (const auto& c : cases) {
        Mark(c.content);
        EXPECT_EQ(ShareFolderFor(Exe()), c.taken ? Resources() : Installed())
            << c.content.substr(0, 60);
    }
}

TEST_F(ShareFolderRule, OnlyAnAbsoluteExecutablePathSaysWhereTheProgramLies) {
    Mark(Resources() + "\n");
    EXPECT_EQ(ShareFolderFor(""), "");
    EXPECT_EQ(ShareFolderFor("bin/rhythmora"), "");
}

TEST(ShareFolder, TheBuildTreeFindsTheSourceResources) {
    // The test binary runs from the build folder, which has the marker.
    EXPECT_TRUE(IsRegularFile(ShareFolder() + "/ResourceTexts.inc"));
}

} // namespace
} // namespace platform
