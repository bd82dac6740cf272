// Gathering and loading a data folder of 10,000 full-length records: the
// time a warm-cache refill of the record list takes and the memory the
// loaded records hold.
#include "bench/RecordFolderFixture.h"
#include "records/RecordFolder.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using bench::Folder;
using bench::ResidentKb;

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
