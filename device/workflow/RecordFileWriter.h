// Turns a recording block read from the device into an `.ecg` file in the
// data folder: the name from the recording kind, the time of saving and the
// record number; the header fields copied from the block; an inverted
// sample checksum when the block check fails, so the file is recognisably
// damaged. A recording already in the folder is not saved again.
#pragma once

#include "device/DeviceBlocks.h"
#include "records/KnownRecordings.h"

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

// Whether the block check fails (or the sample count overruns the block):
// the file is then saved with an inverted sample checksum.
bool IsDamagedBlock(RecordBlock block);

struct SavedRecording {
    std::string path;     // the file that holds the recording
    bool present = false; // it was in the folder already; nothing was written
    bool damaged = false; // kept as a file that does not load
};

// Saves the file into the folder, never over another file: a taken name
// moves it on by a second, and a name (or, with `known`, any file of the
// folder) holding the same recording means it is there already. "SF001"
// when the file cannot be created, "SF003" when the disk is full, "SF002"
// for any other write failure. The file is complete and on the disk before
// it has its name.
SavedRecording SaveRecordFile(RecordBlock block, std::span<const std::uint8_t, 20> extra,
                              const std::string& folder, std::time_t now,
                              records::CKnownRecordings* known = nullptr);

} // namespace device
