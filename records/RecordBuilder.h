// Makes the bytes of a valid record file from field values and 12-bit
// samples: the fixtures of tests and benchmarks and the files of the device
// simulator.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace records {

// Header values a record file carries. Everything not listed is written 0.
struct RecordFields {
    std::uint16_t deviceValue4 = 0;   // offset 4
    std::uint16_t recordNumber = 0;   // offset 6
    std::uint32_t recordedTime = 0;   // offset 8, seconds since 1970 UTC
    std::uint8_t kindByte = 1;        // offset 12: 1 or 2 dated, 0 or 3 undated
    std::uint8_t deviceValueByte = 0; // offset 13
    std::uint8_t filterByte = 0;      // offset 14
    std::uint16_t sampleRate = 125;   // offset 22
    std::uint32_t flags = 0;          // offset 40
    std::uint32_t usableMarker = 0;   // offset 44; 0xFFFFFFFF marks an unusable record
    std::uint16_t heartRate = 0;      // offset 52
};

// Header, packed samples, padding and, with withMemo, an empty memo block.
// The sample count and checksum follow from the samples.
std::string BuildRecordFile(const RecordFields& fields, std::span<const std::uint16_t> samples12,
                            bool withMemo);

} // namespace records
