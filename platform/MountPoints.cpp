#include "platform/MountPoints.h"

#include "platform/Files.h"

#include <sys/sysmacros.h>

#include <charconv>

namespace platform {

namespace {

// mountinfo is a few kilobytes; a bound keeps a strange /proc from making
// the program read without end.
constexpr std::size_t kMaxMountInfo = 4 * 1024 * 1024;

// The kernel writes space, tab, newline and backslash in paths as \ooo.
std::string Unescape(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) &&
            isOctal(field[i + 2]) && isOctal(field[i + 3])) {
            out.push_back(static_cast<char>(((field[i + 1] - '0') << 6) |
                                            ((field[i + 2] - '0') << 3) | (field[i + 3] - '0')));
            i += 3;
            continue;
        }
        out.push_back(field[i]);
    }
    return out;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t end = line.find(' ', pos);
        const std::size_t stop = end == std::string_view::npos ? line.size() : end;
        if (stop > pos)
            fields.push_back(line.substr(pos, stop - pos));
        pos = stop + 1;
    }
    return fields;
}

std::optional<dev_t> ParseDevice(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    unsigned major = 0;
    unsigned minor = 0;
    const auto a = std::from_chars(text.data(), text.data() + colon, major);
    const auto b = std::from_chars(text.data() + colon + 1, text.data() + text.size(), minor);
    if (a.ec != std::errc() || a.ptr != text.data() + colon || b.ec != std::errc() ||
        b.ptr != text.data() + text.size())
        return std::nullopt;
    return makedev(major, minor);
}

} // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountEntry> mounts;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::vector<std::string_view> fields = SplitFields(text.substr(pos, end - pos));
        pos = end + 1;
        // id parent major:minor root mount-point options [optional...] - type source super
        std::size_t separator = 6;
        while (separator < fields.size() && fields[separator] != "-")
            ++separator;
        if (fields.size() < 5 || separator + 2 >= fields.size())
            continue;
        const std::optional<dev_t> device = ParseDevice(fields[2]);
        if (!device)
            continue;
        mounts.push_back({*device, Unescape(fields[4]), Unescape(fields[separator + 1]),
                          Unescape(fields[separator + 2])});
    }
    return mounts;
}

std::vector<MountEntry> ReadMountPoints() {
    const std::optional<std::string> text = ReadWholeFile("/proc/self/mountinfo", kMaxMountInfo);
    return text ? ParseMountInfo(*text) : std::vector<MountEntry>{};
}

} // namespace platform
