#include "records/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace records {

namespace {

// Starting a thread costs about as much as reading a few files; smaller
// batches run on the calling thread alone.
constexpr std::size_t kStepsPerThread = 32;
constexpr unsigned kMaxThreads = 8;

} // namespace

void ParallelFor(std::size_t count, const std::function<void(std::size_t)>& step) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const auto threads = static_cast<unsigned>(std::min<std::size_t>(
        {cores, kMaxThreads, std::max<std::size_t>(1, count / kStepsPerThread)}));

    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto work = [&] {
        try {
            for (std::size_t i = next++; i < count; i = next++) {
                step(i);
            }
        } catch (...) {
            const std::lock_guard lock(failureLock);
            if (!failure) {
                failure = std::current_exception();
            }
            next = count; // the others stop at their next step
        }
    };

    std::vector<std::jthread> helpers;
    for (unsigned t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // no more threads to be had: the ones running share the rest
        }
    }
    work();
    helpers.clear(); // joins
    if (failure) {
        std::rethrow_exception(failure);
    }
}

} // namespace records
