#include "records/ParallelFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace records {
namespace {

TEST(ParallelFor, RunsEveryStepOnce) {
    for (std::size_t count : {0u, 1u, 31u, 1000u}) {
        std::vector<std::atomic<int>> visits(count);
        ParallelFor(count, [&](std::size_t i) { ++visits[i]; });
        for (std::size_t i = 0; i < count; ++i) {
            ASSERT_EQ(visits[i], 1) << "count " << count << " step " << i;
        }
    }
}

TEST(ParallelFor, RethrowsOnceAllStepsHaveStopped) {
    std::atomic<int> running{0};
    auto step = [&](std::size_t i) {
        ++running;
        const bool fail = i == 10;
        --running;
        if (fail) {
            throw std::runtime_error("step failed");
        }
    };
    EXPECT_THROW(ParallelFor(1000, step), std::runtime_error);
    EXPECT_EQ(running, 0);
}

} // namespace
} // namespace records
