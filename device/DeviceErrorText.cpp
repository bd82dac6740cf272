#include "device/DeviceErrorText.h"

#include "platform/ResourceText.h"
#include "platform/TextFormat.h"

#include <grp.h>
#include <sys/stat.h>

#include <cerrno>
#include <vector>

namespace device {

namespace {

constexpr unsigned kTextComError = 51026;
constexpr unsigned kTextNoPermission = 62417;
constexpr unsigned kTextPortInUse = 62418;
// Debian's serial lines belong to this group when nothing else is known.
constexpr const char* kSerialGroup = "dialout";

// The group that owns the port node, whose members may open it.
std::string PortGroup(const std::string& port) {
    struct stat st {};
    if (::stat(port.c_str(), &st) != 0)
        return kSerialGroup;
    std::vector<char> buffer(16384);
    group entry{};
    group* found = nullptr;
    if (::getgrgid_r(st.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->gr_gid == 0)
        return kSerialGroup;
    return found->gr_name;
}

} // namespace

PortOpenProblem ClassifyOpenFailure(int systemError) {
    switch (systemError) {
    case EACCES:
    case EPERM:
        return PortOpenProblem::NoPermission;
    case EBUSY:
    case EWOULDBLOCK:
        return PortOpenProblem::InUse;
    default:
        return PortOpenProblem::Other;
    }
}

std::string DeviceErrorText(const DeviceError& error, const std::string& port) {
    if (error.Code() == kErrOpen) {
        switch (ClassifyOpenFailure(error.SystemError())) {
        case PortOpenProblem::NoPermission:
            return platform::FormatText(platform::LoadText(kTextNoPermission),
                                        {port, PortGroup(port)});
        case PortOpenProblem::InUse:
            return platform::FormatText(platform::LoadText(kTextPortInUse), {port});
        case PortOpenProblem::Other:
            break;
        }
    }
    return platform::LoadText(kTextComError);
}

} // namespace device
