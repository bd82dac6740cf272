// Owner of one POSIX file descriptor: closes it when it goes out of scope,
// so every early return of the file code releases what it opened.
#pragma once

#include <unistd.h>

#include <utility>

namespace platform {

class CUniqueFd {
public:
    CUniqueFd() = default;
    explicit CUniqueFd(int fd) : m_fd(fd) {}
    ~CUniqueFd() { Reset(); }
    CUniqueFd(CUniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    CUniqueFd& operator=(CUniqueFd&& other) noexcept {
        if (this != &other) {
            Reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    CUniqueFd(const CUniqueFd&) = delete;
    CUniqueFd& operator=(const CUniqueFd&) = delete;

    int Get() const { return m_fd; }
    bool IsValid() const { return m_fd >= 0; }

    // Closes now and reports the result: a failed close after writes can
    // mean the data never reached the file.
    bool Close() {
        if (m_fd < 0) {
            return true;
        }
        return ::close(std::exchange(m_fd, -1)) == 0;
    }

    // Hands the descriptor to a caller that closes it itself.
    int Detach() { return std::exchange(m_fd, -1); }

    void Reset() {
        if (m_fd >= 0) {
            ::close(std::exchange(m_fd, -1));
        }
    }

private:
    int m_fd = -1;
};

} // namespace platform
