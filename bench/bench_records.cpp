// Gathering and loading a data folder of 10,000 full-length records: the
// time a warm-cache refill of the record list takes and the memory the
// loaded records hold.
#include "records/RecordBuilder.h"
#include "records/RecordFolder.h"
#include "records/RecordFormat.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kRecordCount = 10000;

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

const std::string& Folder() {
    static const RecordFolderFixture fixture;
    return fixture.Path();
}

long ResidentKb() {
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

// Runs first, before any other benchmark has grown the heap.
void BM_ResidentGrowthOfLoadedFolder(benchmark::State& state) {
    const std::string& folder = Folder();
    for (auto _ : state) {
        const long before = ResidentKb();
        auto list = records::GatherRecordFolder(folder);
        records::LoadAll(list);
        const long after = ResidentKb();
        benchmark::DoNotOptimize(list.data());
        const double growthMb = static_cast<double>(after - before) / 1024.0;
        state.counters["records"] = static_cast<double>(list.size());
        state.counters["rss_growth_MB"] = growthMb;
        std::printf("resident growth holding %zu loaded records: %.1f MB\n", list.size(), growthMb);
    }
}
BENCHMARK(BM_ResidentGrowthOfLoadedFolder)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_GatherAndLoadFolder(benchmark::State& state) {
    const std::string& folder = Folder();
    records::LoadAll(records::GatherRecordFolder(folder)); // warm the page cache
    std::vector<std::unique_ptr<records::CECGContentsData>> list;
    std::chrono::steady_clock::duration total{};
    for (auto _ : state) {
        state.PauseTiming();
        list.clear();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        list = records::GatherRecordFolder(folder);
        records::LoadAll(list);
        total += std::chrono::steady_clock::now() - start;
        benchmark::DoNotOptimize(list.data());
    }
    state.counters["records"] = static_cast<double>(list.size());
    std::printf("gather + load of %zu records: %.1f ms (mean of %lld runs)\n", list.size(),
                std::chrono::duration<double, std::milli>(total).count() /
                    static_cast<double>(state.iterations()),
                static_cast<long long>(state.iterations()));
}
BENCHMARK(BM_GatherAndLoadFolder)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
