// A data folder filled with the simulator's varied recordings, saved the
// way an import saves them: realistic thumbnails and every analysis class.
#pragma once

#include "device/sim/SimRecording.h"
#include "device/workflow/RecordFileWriter.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

inline std::vector<std::string> WriteSimRecordings(const std::string& folder, int count,
                                                   std::int64_t newest, std::uint32_t seed = 7) {
    const std::array<std::uint8_t, 20> noExtra{};
    std::vector<std::string> paths;
    for (const auto& plan : device::sim::VariedRecordings(count, newest, true, 1, seed)) {
        const auto block = device::sim::BuildRecordingBlock(plan);
        paths.push_back(
            device::SaveRecordFile(block, noExtra, folder, static_cast<std::time_t>(newest)).path);
    }
    return paths;
}

} // namespace testsupport
