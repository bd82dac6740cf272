// Turns a recording block read from the device into an `.ecg` file in the
// data folder: the name from the recording kind, the time of saving and the
// record number; the header fields copied from the block; an inverted
// sample checksum when the block check fails, so the file is recognisably
// damaged.
#pragma once

#include "device/DeviceBlocks.h"

#include <cstdint>
#include <ctime>
#include <span>
#include <string>

namespace device {

using RecordBlock = std::span<const std::uint8_t, kRecordBlockSize>;

// "d" or "p", the local time `now` as yymmddhhmmss, "_", the record number
// as four lower-case hex digits, ".ecg".
std::string MakeRecordFileName(RecordBlock block, std::time_t now);

// The file's bytes: header, sample area and padding to 16 (no memo block).
// The recording time is `now` when any clock byte is unset (0xFF) or the
// clock names no valid time.
std::string BuildDownloadedFile(RecordBlock block, std::span<const std::uint8_t, 20> extra,
                                std::time_t now);

// Writes the file into the folder and gives its path. "SF001" when the file
// cannot be created, "SF003" when the disk is full, "SF002" for any other
// write failure. The file is written crash-safely and forced to disk.
std::string SaveRecordFile(RecordBlock block, std::span<const std::uint8_t, 20> extra,
                           const std::string& folder, std::time_t now);

} // namespace device
