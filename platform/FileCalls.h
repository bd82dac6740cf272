// The file-system calls every save goes through, in one place, so that a
// test can make the n-th of them fail (a full disk, an I/O error) or end
// the process right before it, and prove that no step of a save can lose
// what was there before.
//
//     platform::fs::CFileFaultScope fault({.failAt = 3, .error = ENOSPC});
//     SaveSomething();  // its third write/fsync/rename/... fails
//
// Outside such a plan each call is the plain POSIX call; errno is set as
// the call sets it.
#pragma once

#include <sys/types.h>

#include <cerrno>
#include <cstdint>

namespace platform::fs {

// Creates with open(O_CREAT | O_EXCL ...); counted as a call.
int Create(const char* path, int flags, mode_t mode);
ssize_t Write(int fd, const void* data, std::size_t size);
int Sync(int fd);
// Replaces whatever is at `to`.
int Rename(const char* from, const char* to);
// Fails with EEXIST when something is at `to`, with EINVAL when the file
// system cannot tell (the caller then links instead).
int RenameNoReplace(const char* from, const char* to);
int Link(const char* from, const char* to);
// Counted for a planned end of the process, never made to fail: removing a
// temporary file is how a failed save cleans up.
int Unlink(const char* path);
int Mkdir(const char* path, mode_t mode);

struct FaultPlan {
    // The call (1 = the first after the plan is set) that fails with
    // `error`; 0 = none.
    std::uint64_t failAt = 0;
    int error = EIO;
    // The call before which the process ends as by SIGKILL; 0 = none.
    std::uint64_t killAt = 0;
};

// Sets the plan and restarts the count.
void SetFaultPlan(const FaultPlan& plan);
// Calls made since the plan was last set.
std::uint64_t CallCount();
// Whether the planned failure has happened.
bool FaultInjected();

// A plan for one scope; no plan afterwards.
class CFileFaultScope {
public:
    explicit CFileFaultScope(const FaultPlan& plan) { SetFaultPlan(plan); }
    ~CFileFaultScope() { SetFaultPlan({}); }
    CFileFaultScope(const CFileFaultScope&) = delete;
    CFileFaultScope& operator=(const CFileFaultScope&) = delete;
};

} // namespace platform::fs
