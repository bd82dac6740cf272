#include "platform/Processes.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>

namespace platform {
namespace {

using testsupport::TempFolder;

// A child process that is always killed and reaped, even when a check
// fails half-way.
class CChild {
public:
    explicit CChild(pid_t pid) : m_pid(pid) {}
    ~CChild() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            int status = 0;
            while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
            }
        }
    }
    CChild(const CChild&) = delete;
    CChild& operator=(const CChild&) = delete;

private:
    pid_t m_pid;
};

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(Processes, ListsAProgramByItsExecutableName) {
    TempFolder folder;
    const std::string exe = folder.File("Vitalnote.exe");
    std::filesystem::copy_file("/bin/sleep", exe);
    std::filesystem::permissions(exe, std::filesystem::perms::owner_all);
    EXPECT_FALSE(Contains(RunningProcessNames(), "Vitalnote.exe"));

    // The pipe closes by itself when exec succeeds (O_CLOEXEC); a failed
    // exec writes its errno into it. Either way the read below returns
    // only once the child runs the new program or has given up.
    int fds[2];
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    char arg0[] = "Vitalnote.exe";
    char arg1[] = "30";
    char* argv[] = {arg0, arg1, nullptr};
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::close(fds[0]);
        ::execv(exe.c_str(), argv);
        const int error = errno;
        static_cast<void>(::write(fds[1], &error, sizeof error));
        ::_exit(127);
    }
    CChild child(pid);
    ::close(fds[1]);
    int execError = 0;
    ssize_t got = 0;
    do {
        got = ::read(fds[0], &execError, sizeof execError);
    } while (got < 0 && errno == EINTR);
    ::close(fds[0]);
    ASSERT_EQ(got, 0) << "exec failed: " << execError;

    const std::vector<std::string> names = RunningProcessNames();
    EXPECT_TRUE(Contains(names, "Vitalnote.exe"));
    EXPECT_FALSE(Contains(names, "vitalnote.exe"));
    EXPECT_TRUE(Contains(names, "test_platform")); // this process itself
}

} // namespace
} // namespace platform
