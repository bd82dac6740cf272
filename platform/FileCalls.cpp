#include "platform/FileCalls.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

namespace platform::fs {

namespace {

std::atomic<std::uint64_t> g_calls{0};
std::atomic<std::uint64_t> g_failAt{0};
std::atomic<int> g_error{EIO};
std::atomic<std::uint64_t> g_killAt{0};
std::atomic<bool> g_injected{false};

// Counts the call; true when the plan says it fails (errno is then set).
bool Planned(bool mayFail) {
    const std::uint64_t n = ++g_calls;
    if (n == g_killAt.load())
        ::raise(SIGKILL);
    if (mayFail && n == g_failAt.load()) {
        g_injected = true;
        errno = g_error.load();
        return true;
    }
    return false;
}

} // namespace

int Create(const char* path, int flags, mode_t mode) {
    if (Planned(true))
        return -1;
    return ::open(path, flags | O_CREAT | O_EXCL, mode);
}

ssize_t Write(int fd, const void* data, std::size_t size) {
    if (Planned(true))
        return -1;
    return ::write(fd, data, size);
}

int Sync(int fd) {
    if (Planned(true))
        return -1;
    return ::fsync(fd);
}

int Rename(const char* from, const char* to) {
    if (Planned(true))
        return -1;
    return ::rename(from, to);
}

int RenameNoReplace(const char* from, const char* to) {
    if (Planned(true))
        return -1;
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

int Link(const char* from, const char* to) {
    if (Planned(true))
        return -1;
    return ::link(from, to);
}

int Unlink(const char* path) {
    Planned(false);
    return ::unlink(path);
}

int Mkdir(const char* path, mode_t mode) {
    if (Planned(true))
        return -1;
    return ::mkdir(path, mode);
}

void SetFaultPlan(const FaultPlan& plan) {
    g_failAt = plan.failAt;
    g_error = plan.error;
    g_killAt = plan.killAt;
    g_injected = false;
    g_calls = 0;
}

std::uint64_t CallCount() {
    return g_calls.load();
}

bool FaultInjected() {
    return g_injected.load();
}

} // namespace platform::fs
