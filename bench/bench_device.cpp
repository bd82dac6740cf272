// A full read of a device holding 100 recordings (5676 bytes each, by long
// reads) through the simulated device on a pseudo-terminal, with the
// communication log on: the time an import spends on the link.
#include "device/DeviceAccess.h"
#include "device/sim/SimServer.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kRecordings = 100;

device::sim::SimMemory FullMemory() {
    device::sim::SimMemory memory;
    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    for (const auto& plan : device::sim::VariedRecordings(kRecordings, now, true, 1, 11)) {
        device::sim::StoreRecording(memory, device::sim::BuildRecordingBlock(plan));
    }
    return memory;
}

class LogFolder {
public:
    LogFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "rhythmora-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        m_path = pattern;
    }
    ~LogFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// The import's sequence: index, every recording oldest first, count cleared.
int ReadWholeDevice(const std::string& port, const std::string& logFolder) {
    device::DeviceLinkConfig config;
    config.logFolder = logFolder;
    device::CommLog log;
    device::DeviceAccess access(config, log);
    access.Open(port);
    access.StartAccess();
    std::array<std::uint8_t, device::kControlBlockSize> index{};
    access.ReadRecordIndex(index);
    const int n = index[device::kIdxCount];
    std::vector<std::uint8_t> block(device::kRecordBlockSize);
    for (int k = 0; k < n; ++k) {
        access.ReadRecordBlock(n - 1 - k, index,
                               std::span<std::uint8_t, device::kRecordBlockSize>(block));
        benchmark::DoNotOptimize(block.data());
    }
    access.ClearRecordCount(index, 0);
    access.EndAccess();
    access.Close();
    return n;
}

void BM_ReadFullDeviceWithLog(benchmark::State& state) {
    const device::sim::SimMemory memory = FullMemory();
    const LogFolder folder;
    std::chrono::steady_clock::duration total{};
    int read = 0;
    for (auto _ : state) {
        state.PauseTiming();
        device::sim::CSimServer server{device::sim::CSimDevice(memory)};
        if (!server.Start()) {
            state.SkipWithError("no pseudo-terminal");
            return;
        }
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        read = ReadWholeDevice(server.PortName(), folder.Path());
        total += std::chrono::steady_clock::now() - start;
    }
    const double seconds =
        std::chrono::duration<double>(total).count() / static_cast<double>(state.iterations());
    state.counters["recordings"] = read;
    std::printf("full read of %d recordings with the log on: %.3f s (goal <= 2 s, mean of %lld "
                "runs)\n",
                read, seconds, static_cast<long long>(state.iterations()));
}
BENCHMARK(BM_ReadFullDeviceWithLog)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
