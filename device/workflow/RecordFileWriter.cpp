#include "device/workflow/RecordFileWriter.h"

#include "device/DeviceClock.h"
#include "device/DeviceError.h"
#include "platform/Files.h"
#include "records/RecordEntry.h"
#include "records/RecordFormat.h"

#include <cerrno>
#include <cstdio>
#include <optional>

namespace device {

namespace {

// Where the header fields sit in the recording block.
constexpr std::size_t kBlkClock = 8;
constexpr std::size_t kBlkKind = 14;
constexpr std::size_t kBlkSampleCount = 18;
constexpr std::size_t kBlkFlags = 22;
constexpr std::size_t kBlkSamples = 48;
constexpr std::size_t kBlkCheck = kRecordBlockSize - 2;
// The longest sample area that ends before the block check.
constexpr std::uint32_t kMaxBlockSamples = (kBlkCheck - kBlkSamples) * 2 / 3;

std::uint32_t Le32(RecordBlock block, std::size_t at) {
    return static_cast<std::uint32_t>(block[at]) | static_cast<std::uint32_t>(block[at + 1]) << 8 |
           static_cast<std::uint32_t>(block[at + 2]) << 16 |
           static_cast<std::uint32_t>(block[at + 3]) << 24;
}

// The time the device's clock gave the recording; none when a clock byte
// is unset (0xFF) or the bytes name no time.
std::optional<std::int64_t> DeviceRecordingTime(RecordBlock block) {
    const auto clock = block.subspan<kBlkClock, 6>();
    for (const std::uint8_t b : clock)
        if (b == 0xFF)
            return std::nullopt;
    return DeviceClockToTime(clock);
}

std::uint32_t SampleCountOf(RecordBlock block) {
    return Le32(block, kBlkSampleCount);
}

} // namespace

bool IsDamagedBlock(RecordBlock block) {
    const std::uint16_t blockCheck =
        static_cast<std::uint16_t>(block[kBlkCheck] | block[kBlkCheck + 1] << 8);
    return SampleCountOf(block) > kMaxBlockSamples ||
           records::Crc16Xmodem(block.first(kBlkCheck)) != blockCheck;
}

std::string MakeRecordFileName(RecordBlock block, std::time_t now) {
    std::tm local{};
    localtime_r(&now, &local);
    const unsigned kind = block[kBlkKind] & 3u;
    const unsigned number = block[6] | block[7] << 8;
    char name[64];
    std::snprintf(name, sizeof name, "%c%02d%02d%02d%02d%02d%02d_%04x.ecg",
                  kind == 1 || kind == 2 ? 'd' : 'p', local.tm_year + 1900 - 2000, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, number);
    return name;
}

std::string BuildDownloadedFile(RecordBlock block, std::span<const std::uint8_t, 20> extra,
                                std::time_t now) {
    const std::uint32_t n = SampleCountOf(block);
    // A count beyond the block would read past it; the file is then cut to
    // what the block holds and fails its checksum like any damaged block.
    const std::uint32_t kept = n > kMaxBlockSamples ? kMaxBlockSamples : n;
    const std::size_t area = records::SampleAreaSize(kept);
    const auto samples = block.subspan(kBlkSamples, area);

    std::string file(records::kHeaderSize, '\0');
    auto put = [&file](std::size_t at, std::span<const std::uint8_t> bytes) {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            file[at + i] = static_cast<char>(bytes[i]);
    };
    put(0, block.subspan(0, 8));
    // A recording without a device time is kept with the time of saving.
    const auto time = static_cast<std::uint32_t>(DeviceRecordingTime(block).value_or(now));
    const std::uint8_t timeBytes[4] = {
        static_cast<std::uint8_t>(time), static_cast<std::uint8_t>(time >> 8),
        static_cast<std::uint8_t>(time >> 16), static_cast<std::uint8_t>(time >> 24)};
    put(8, timeBytes);
    put(12, block.subspan(kBlkKind, 4));
    put(16, block.subspan(kBlkSampleCount, 4));
    put(20, extra);
    put(40, block.subspan(kBlkFlags, 16));

    std::uint16_t checksum = records::SampleChecksum(samples);
    if (IsDamagedBlock(block))
        checksum = static_cast<std::uint16_t>(~checksum);
    file[58] = static_cast<char>(checksum & 0xFF);
    file[59] = static_cast<char>(checksum >> 8);

    file.append(reinterpret_cast<const char*>(samples.data()), samples.size());
    // The padding the record format defines, so the file loads cleanly even
    // before its memo block is added.
    file.append(records::PaddingSize(kept), '\xFF');
    return file;
}

SavedRecording SaveRecordFile(RecordBlock block, std::span<const std::uint8_t, 20> extra,
                              const std::string& folder, std::time_t now,
                              records::CKnownRecordings* known) {
    const std::string bytes = BuildDownloadedFile(block, extra, now);
    SavedRecording saved;
    saved.damaged = IsDamagedBlock(block);
    // Without a device time the file carries the time of saving, which
    // differs from an earlier save of the same recording.
    const bool anyTime = !DeviceRecordingTime(block).has_value();
    if (known != nullptr) {
        if (std::optional<std::string> there = known->Find(bytes, anyTime)) {
            saved.path = std::move(*there);
            saved.present = true;
            return saved;
        }
    }
    // A taken name moves the file on by one second of its saving time.
    const records::RecordEntry entry = records::EnterRecordFile(
        folder, [&](int k) { return MakeRecordFileName(block, now + k); }, bytes);
    switch (entry.result) {
    case records::EntryResult::Entered:
        if (known != nullptr)
            known->Add(entry.path, bytes);
        break;
    case records::EntryResult::Present:
        saved.present = true;
        break;
    case records::EntryResult::Failed:
        if (entry.error == ENOSPC || entry.error == EDQUOT)
            throw DeviceError(kErrDiskFull);
        if (entry.error == EIO || entry.error == EFBIG)
            throw DeviceError(kErrWriteFile);
        throw DeviceError(kErrCreateFile);
    }
    saved.path = entry.path;
    return saved;
}

} // namespace device
