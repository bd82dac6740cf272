// A cross-process lock known by name, standing in for a named mutex: an
// flock on a file of that name in the runtime folder. The lock is released
// when the object is destroyed or the process ends.
#pragma once

#include <string>

namespace platform {

class CNamedLock {
public:
    explicit CNamedLock(std::string name);
    ~CNamedLock();
    CNamedLock(const CNamedLock&) = delete;
    CNamedLock& operator=(const CNamedLock&) = delete;

    // True when this object now holds the lock; false when another holder
    // has it or the lock file cannot be made.
    bool TryAcquire();
    void Release();
    bool IsHeld() const { return m_fd >= 0; }

    // Whether any process holds the lock of that name right now.
    static bool IsTaken(const std::string& name);

    const std::string& GetName() const { return m_strName; }
    // The file the lock of that name is kept on; empty for a name that
    // cannot be one.
    static std::string LockPath(const std::string& name);

private:
    std::string m_strName;
    int m_fd = -1;
};

} // namespace platform
