#include "device/sim/SimState.h"

#include "platform/Files.h"

#include <charconv>
#include <map>

namespace device::sim {

namespace {

constexpr std::string_view kHeaderKey = "RhythmoraSimulatorState";
constexpr std::string_view kVersion = "1";
// Every slot full in hex, with room for the other lines.
constexpr std::size_t kMaxStateFile = 2 * kSlotCount * kBlockSize + 64 * 1024;
constexpr char kHex[] = "0123456789ABCDEF";

template <typename T> std::optional<T> ParseNumber(std::string_view text) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<RecordBlock> ParseBlock(std::string_view hex) {
    if (hex.size() != 2 * kBlockSize)
        return std::nullopt;
    RecordBlock block;
    for (std::size_t i = 0; i < kBlockSize; ++i) {
        const int high = HexDigit(hex[2 * i]);
        const int low = HexDigit(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        block[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return block;
}

} // namespace

std::string FormatSimState(const SimMemory& memory) {
    std::string text;
    text += std::string(kHeaderKey) + "=" + std::string(kVersion) + "\n";
    text += "Position=" + std::to_string(memory.position) + "\n";
    text += "Count=" + std::to_string(memory.count) + "\n";
    text += "Battery=" + std::to_string(memory.battery) + "\n";
    text += "Filter=" + std::to_string(memory.filter) + "\n";
    text += "DeviceFlag=" + std::to_string(memory.deviceFlag ? 1 : 0) + "\n";
    text += "ClockSet=" + std::to_string(memory.clockSet ? 1 : 0) + "\n";
    text += "ClockOffset=" + std::to_string(memory.clockOffset) + "\n";
    for (std::size_t slot = 0; slot < memory.slots.size(); ++slot) {
        if (!memory.slots[slot])
            continue;
        text += "Slot" + std::to_string(slot) + "=";
        for (const std::uint8_t byte : *memory.slots[slot]) {
            text.push_back(kHex[byte >> 4]);
            text.push_back(kHex[byte & 0x0F]);
        }
        text += "\n";
    }
    return text;
}

std::optional<SimMemory> ParseSimState(std::string_view text) {
    std::map<std::string, std::string_view, std::less<>> values;
    SimMemory memory;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty())
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        const std::string_view key = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (key.starts_with("Slot")) {
            const auto slot = ParseNumber<unsigned>(key.substr(4));
            const auto block = ParseBlock(value);
            if (!slot || *slot >= memory.slots.size() || !block || memory.slots[*slot])
                return std::nullopt;
            memory.slots[*slot] = *block;
        } else if (!values.emplace(std::string(key), value).second) {
            return std::nullopt;
        }
    }
    const auto number = [&](std::string_view key, long long low,
                            long long high) -> std::optional<long long> {
        const auto found = values.find(key);
        if (found == values.end())
            return std::nullopt;
        const auto value = ParseNumber<long long>(found->second);
        if (!value || *value < low || *value > high)
            return std::nullopt;
        return value;
    };
    const auto version = values.find(kHeaderKey);
    const auto position = number("Position", 0, kSlotCount - 1);
    const auto count = number("Count", 0, kSlotCount);
    const auto battery = number("Battery", 0, 15);
    const auto filter = number("Filter", 0, 3);
    const auto deviceFlag = number("DeviceFlag", 0, 1);
    const auto clockSet = number("ClockSet", 0, 1);
    // A century either way covers any clock the device can hold.
    const auto clockOffset = number("ClockOffset", -4'000'000'000LL, 4'000'000'000LL);
    if (version == values.end() || version->second != kVersion || !position || !count || !battery ||
        !filter || !deviceFlag || !clockSet || !clockOffset)
        return std::nullopt;
    memory.position = static_cast<std::uint8_t>(*position);
    memory.count = static_cast<std::uint8_t>(*count);
    memory.battery = static_cast<std::uint8_t>(*battery);
    memory.filter = static_cast<std::uint8_t>(*filter);
    memory.deviceFlag = *deviceFlag != 0;
    memory.clockSet = *clockSet != 0;
    memory.clockOffset = *clockOffset;
    return memory;
}

bool SaveSimState(const std::string& path, const SimMemory& memory) {
    return platform::WriteFileAtomic(path, FormatSimState(memory));
}

std::optional<SimMemory> LoadSimState(const std::string& path) {
    const std::optional<std::string> text = platform::ReadWholeFile(path, kMaxStateFile);
    if (!text)
        return std::nullopt;
    return ParseSimState(*text);
}

} // namespace device::sim
