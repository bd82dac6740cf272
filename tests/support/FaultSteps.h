// Runs an operation once for every file-system call it makes, with that
// call failing (SQLite's way of testing I/O errors), and finds what saves
// leave behind.
#pragma once

#include "platform/FileCalls.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// Calls prepare(), then attempt() with call n failing with `error`, then
// check(n) (n = 1, 2, ...), until an attempt that made fewer than n calls
// and so ran without a fault; check(0) follows that last run. Gives the
// number of calls the undisturbed run made.
template <typename Prepare, typename Attempt, typename Check>
std::uint64_t ForEachFailingCall(int error, Prepare prepare, Attempt attempt, Check check) {
    for (std::uint64_t n = 1;; ++n) {
        prepare();
        bool injected = false;
        std::uint64_t calls = 0;
        {
            const platform::fs::CFileFaultScope fault({.failAt = n, .error = error});
            attempt();
            injected = platform::fs::FaultInjected();
            calls = platform::fs::CallCount();
        }
        SCOPED_TRACE(testing::Message() << "call " << n << " of the save failed");
        check(injected ? n : 0);
        if (!injected || testing::Test::HasFatalFailure())
            return calls;
        // A run that went wrong once says all there is to say.
        if (testing::Test::HasFailure())
            return calls;
    }
}

// The temporary files of saves in the folder.
inline std::vector<std::string> TemporaryFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
        const std::string name = entry.path().filename().string();
        if (platform::TemporaryTarget(name))
            names.push_back(name);
    }
    return names;
}

} // namespace testsupport
