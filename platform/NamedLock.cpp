#include "platform/NamedLock.h"

#include "platform/Files.h"
#include "platform/KnownFolders.h"
#include "platform/UniqueFd.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace platform {

namespace {

// Retries an flock interrupted by a signal; a non-blocking flock returns
// EWOULDBLOCK when someone else holds the lock.
bool TryLockExclusive(int fd) {
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

} // namespace

CNamedLock::CNamedLock(std::string name) : m_strName(std::move(name)) {}

CNamedLock::~CNamedLock() {
    Release();
}

bool CNamedLock::TryAcquire() {
    if (IsHeld()) {
        return true;
    }
    const std::string path = LockPath(m_strName);
    if (path.empty()) {
        return false;
    }
    // O_NOFOLLOW: a symbolic link planted under the lock's name must not
    // make the program create or lock a file elsewhere.
    CUniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.IsValid() || !TryLockExclusive(fd.Get())) {
        return false;
    }
    m_fd = fd.Detach();
    return true;
}

void CNamedLock::Release() {
    // Closing the descriptor drops the lock. The file stays: removing it
    // would let a newcomer lock a fresh file while an old holder still
    // locks the removed one.
    if (m_fd >= 0) {
        ::close(std::exchange(m_fd, -1));
    }
}

bool CNamedLock::IsTaken(const std::string& name) {
    const std::string path = LockPath(name);
    if (path.empty()) {
        return false;
    }
    CUniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!fd.IsValid()) {
        return false;
    }
    // The lock is released again when fd closes at the end of this scope.
    return !TryLockExclusive(fd.Get()) && errno == EWOULDBLOCK;
}

std::string CNamedLock::LockPath(const std::string& name) {
    // A name must stay one file inside the runtime folder.
    if (name.empty() || name.find('/') != std::string::npos ||
        name.find('\0') != std::string::npos) {
        return {};
    }
    const std::string folder = RuntimeFolder();
    if (folder.empty()) {
        return {};
    }
    return JoinPath(folder, name + ".lock");
}

} // namespace platform
