// Record files made by code for the tests: deterministic samples and small
// edits of the bytes a valid file has.
#pragma once

#include "records/RecordBuilder.h"
#include "records/RecordFormat.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace records::test {

// Values that use all 12 bits, differing from sample to sample.
inline std::vector<std::uint16_t> TestSamples(std::size_t n) {
    std::vector<std::uint16_t> samples(n);
    for (std::size_t i = 0; i < n; ++i) {
        samples[i] = static_cast<std::uint16_t>(((i * 2654435761u) >> 20) & 0xFFF);
    }
    return samples;
}

inline std::string ValidRecord(std::size_t n, bool withMemo, const RecordFields& fields = {}) {
    return BuildRecordFile(fields, TestSamples(n), withMemo);
}

inline void PutLe16(std::string& file, std::size_t offset, std::uint16_t v) {
    file[offset] = static_cast<char>(v & 0xFF);
    file[offset + 1] = static_cast<char>(v >> 8);
}

inline std::uint16_t GetLe16(const std::string& file, std::size_t offset) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(file[offset]) |
                                      static_cast<unsigned char>(file[offset + 1]) << 8);
}

// Memo item k's code, byte length and text bytes inside a whole file.
inline void PutMemoItem(std::string& file, std::size_t n, std::size_t k, std::uint16_t code,
                        std::uint16_t length, const std::string& text) {
    const std::size_t at = MemoBlockOffset(n) + MemoItemOffset(k);
    PutLe16(file, at, code);
    PutLe16(file, at + 2, length);
    file.replace(at + kMemoItemTextOffset, text.size(), text);
}

} // namespace records::test
