#include "device/DeviceErrorText.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <unistd.h>

namespace device {
namespace {

TEST(DeviceErrorText, APortThatCannotBeOpenedIsExplainedByItsCause) {
    testsupport::TempFolder folder;
    const std::string port = folder.Write("ttyACM0", "");
    struct Case {
        std::string_view code;
        int reason;
        const char* contains;
    };
    const Case cases[] = {
        {kErrOpen, EACCES, "may not open the device port"},
        {kErrOpen, EPERM, "may not open the device port"},
        {kErrOpen, EBUSY, "in use by another program"},
        {kErrOpen, EWOULDBLOCK, "in use by another program"},
        // Gone, or no serial line: plugging the device in again is the advice.
        {kErrOpen, ENOENT, "COM ERROR"},
        {kErrOpen, ENOTTY, "COM ERROR"},
        {kErrReceive, 0, "COM ERROR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << " " << c.reason);
        const std::string text = DeviceErrorText(DeviceError(c.code, c.reason), port);
        EXPECT_NE(text.find(c.contains), std::string::npos) << text;
        if (c.reason == EBUSY) {
            EXPECT_NE(text.find(port), std::string::npos) << text;
        }
    }

    // The group named is the one that owns the port; the superuser's own
    // group would be no advice. Only the superuser can give the file away.
    const group* other = ::getgrgid(65534);
    if (::geteuid() != 0 || other == nullptr)
        return;
    const std::string otherName = other->gr_name;
    ASSERT_EQ(::chown(port.c_str(), 0, 65534), 0);
    const std::string text = DeviceErrorText(DeviceError(kErrOpen, EACCES), port);
    EXPECT_NE(text.find("\"" + otherName + "\""), std::string::npos) << text;
    EXPECT_NE(text.find(port), std::string::npos) << text;
    EXPECT_NE(text.find("udev rule"), std::string::npos) << text;
    ASSERT_EQ(::chown(port.c_str(), 0, 0), 0);
    const std::string rootOwned = DeviceErrorText(DeviceError(kErrOpen, EACCES), port);
    EXPECT_NE(rootOwned.find("\"dialout\""), std::string::npos) << rootOwned;
}

} // namespace
} // namespace device
