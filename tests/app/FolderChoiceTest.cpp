// The data-folder refusals against a made-up set of drives: system folders,
// a missing folder, drive roots, removable and network drives with and
// without a recorder folder, and the length limit counted in characters.
#include "app/FolderChoice.h"

#include "support/TempFolder.h"

#include <sys/sysmacros.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>

namespace {

using app::CheckDataFolder;
using app::FolderRefusal;

const dev_t kSystemDisk = makedev(8, 1);
const dev_t kStick = makedev(8, 17);
const dev_t kPlainStick = makedev(8, 33);
const dev_t kFixedDisk = makedev(8, 49);

// Drives mounted inside a temporary folder: a stick and a network share that
// carry the recorder folder, a stick without it, and a fixed disk with it.
class DriveFixture {
public:
    DriveFixture() : m_strRoot(std::filesystem::canonical(m_folder.Path()).string()) {
        for (const char* folder :
             {"stick/Vtq520/data", "stick/records", "plainstick/records", "net/Vtq520/data",
              "net/records", "fixed/Vtq520/data", "fixed/records", "home/records"})
            std::filesystem::create_directories(Path(folder));
        m_folder.Write("home/file.txt", "not a folder");
        drives.mounts = {
            {kSystemDisk, "/", "ext4", "/dev/sda1"},
            {kStick, Path("stick"), "vfat", "/dev/sdb1"},
            {kPlainStick, Path("plainstick"), "exfat", "/dev/sdc1"},
            {makedev(0, 52), Path("net"), "nfs4", "server:/export"},
            {kFixedDisk, Path("fixed"), "ext4", "/dev/sdd1"},
        };
        drives.isRemovable = [](const platform::MountEntry& mount) {
            return mount.device == kStick || mount.device == kPlainStick;
        };
    }

    std::string Path(const std::string& below) const { return m_strRoot + "/" + below; }
    const std::string& Root() const { return m_strRoot; }

    // An existing folder whose path, with its trailing '/', is `length`
    // characters long, its names made of `fill` (one character).
    std::string FolderOfLength(std::size_t length, const std::string& fill) const {
        std::string path = m_strRoot;
        std::size_t have = m_strRoot.size() + 1; // the trailing '/'
        while (have < length) {
            std::size_t name = std::min<std::size_t>(length - have - 1, 40);
            if (length - have - 1 - name == 1)
                --name; // no room would be left for the next '/' and a name
            path += '/';
            for (std::size_t i = 0; i < name; ++i)
                path += fill;
            have += name + 1;
        }
        std::filesystem::create_directories(path);
        return path + "/";
    }

    app::DriveTable drives;

private:
    testsupport::TempFolder m_folder;
    std::string m_strRoot;
};

struct FolderCase {
    const char* name;
    const char* below; // below the fixture's root; an absolute path as it is
    FolderRefusal refusal;
    const char* message;
};

void PrintTo(const FolderCase& folder, std::ostream* out) {
    *out << folder.name;
}

const char kHddError[] = "HDD Error";
const char kForbidden[] = "Records cannot be kept in this folder. Choose another place.";

const FolderCase kCases[] = {
    {"a plain folder", "home/records/", FolderRefusal::kNone, ""},
    {"a plain folder without the trailing slash", "home/records", FolderRefusal::kNone, ""},
    {"the root of the file system", "/", FolderRefusal::kForbidden, kForbidden},
    {"a system tree", "/usr/share/", FolderRefusal::kForbidden, kForbidden},
    {"a library tree", "/lib64/", FolderRefusal::kForbidden, kForbidden},
    {"a way into a system tree", "/home/../etc/", FolderRefusal::kForbidden, kForbidden},
    {"a missing folder", "home/missing/", FolderRefusal::kMissing, kHddError},
    {"a file", "home/file.txt", FolderRefusal::kMissing, kHddError},
    {"a relative path", "relative/folder/", FolderRefusal::kMissing, kHddError},
    {"an empty path", "", FolderRefusal::kMissing, kHddError},
    {"a stick with a recorder folder", "stick/records/", FolderRefusal::kRecorderDrive,
     "Save Folder Error"},
    {"the root of a stick with a recorder folder", "stick/", FolderRefusal::kRecorderDrive,
     "Save Folder Error"},
    {"a network share with a recorder folder", "net/records/", FolderRefusal::kRecorderDrive,
     "Save Folder Error"},
    {"a stick without a recorder folder", "plainstick/records/", FolderRefusal::kNone, ""},
    {"the root of a stick without a recorder folder", "plainstick/", FolderRefusal::kDriveRoot,
     kHddError},
    {"a fixed disk with a recorder folder", "fixed/records/", FolderRefusal::kNone, ""},
    {"the root of a fixed disk", "fixed", FolderRefusal::kDriveRoot, kHddError},
};

class FolderRefusalTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(FolderRefusalTest, RefusesInOrderWithItsMessage) {
    const FolderCase& folder = GetParam();
    DriveFixture fixture;
    const std::string below = folder.below;
    const std::string path = below.empty() || below.front() == '/' || below.starts_with("relative")
                                 ? below
                                 : fixture.Path(below);
    const FolderRefusal refusal = CheckDataFolder(path, fixture.drives);
    EXPECT_EQ(refusal, folder.refusal) << path;
    EXPECT_EQ(app::RefusalText(refusal), folder.message);
}

INSTANTIATE_TEST_SUITE_P(Folders, FolderRefusalTest, ::testing::ValuesIn(kCases));

TEST(FolderRefusal, LengthLimitCountsCharactersNotBytes) {
    DriveFixture fixture;
    for (const std::string fill : {"a", "デ"}) {
        const std::string longest = fixture.FolderOfLength(209, fill);
        EXPECT_EQ(CheckDataFolder(longest, fixture.drives), FolderRefusal::kNone) << longest;
        const std::string tooLong = fixture.FolderOfLength(210, fill);
        EXPECT_EQ(CheckDataFolder(tooLong, fixture.drives), FolderRefusal::kTooLong) << tooLong;
        EXPECT_EQ(app::RefusalText(FolderRefusal::kTooLong), "ECGData Max Path Error");
    }
}

TEST(FolderRefusal, LengthComesBeforeEveryOtherCheck) {
    DriveFixture fixture;
    const std::string missing = "/usr/" + std::string(300, 'x') + "/";
    EXPECT_EQ(CheckDataFolder(missing, fixture.drives), FolderRefusal::kTooLong);
}

TEST(ForbiddenFolder, ComparesWholeComponents) {
    struct Case {
        const char* path;
        bool forbidden;
    };
    const Case cases[] = {
        {"/", true},
        {"//", true},
        {"/usr", true},
        {"/usr/", true},
        {"/var/lib/x/", true},
        {"/opt/app/data/", true},
        {"/lib/", true},
        {"/libx32/", true},
        {"/./etc/", true},
        {"/home/../usr/", true},
        {"/usr2/", false},
        {"/home/user/usr/", false},
        {"/home/user/", false},
        {"/media/user/SD/", false},
        {"/run/media/user/SD/", false},
        {"/run/media/user/SD/records/", false},
        {"/run/media/user/", true},
        {"/run/media/", true},
        {"/run/user/1000/", true},
        {"/run/mediax/user/SD/", true},
        {"/srv/etc/", false},
        {"relative/usr/", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::IsForbiddenFolder(c.path), c.forbidden) << c.path;
}

} // namespace
