// A data folder of 10,000 full-length records made once per benchmark run
// and removed at exit, and the process's resident memory.
#pragma once

#include "records/RecordBuilder.h"
#include "records/RecordFormat.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

inline constexpr int kRecordCount = 10000;

// The folder of records, made once per run and removed at exit.
class RecordFolderFixture {
public:
    RecordFolderFixture() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "rhythmora-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        m_path = pattern;
        std::vector<std::uint16_t> samples(records::kMaxSamples);
        for (int r = 0; r < kRecordCount; ++r) {
            for (std::size_t i = 0; i < samples.size(); ++i) {
                samples[i] = static_cast<std::uint16_t>((i * 7 + r) & 0xFFF);
            }
            const records::RecordFields fields{.recordNumber = static_cast<std::uint16_t>(r),
                                               .recordedTime = 1700000000u + 60u * r,
                                               .flags = static_cast<std::uint32_t>(r) & 0x7FFF};
            const std::string bytes = records::BuildRecordFile(fields, samples, true);
            char name[32];
            std::snprintf(name, sizeof name, "d240105%06d_%04x.ecg", r, r & 0xFFFF);
            std::ofstream(m_path + "/" + name, std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
    }
    ~RecordFolderFixture() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

inline const std::string& Folder() {
    static const RecordFolderFixture fixture;
    return fixture.Path();
}

inline long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

} // namespace bench
