// A device stand-in on the master side of a pseudo-terminal: it reads each
// request frame and answers with the next step of a fixed script, so tests
// choose every byte the engine receives.
#pragma once

#include "platform/PseudoTerminal.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <thread>
#include <vector>

namespace devicetest {

using Bytes = std::vector<std::uint8_t>;

struct Step {
    Bytes reply;         // written in one piece; empty: no answer at all
    bool hangUp = false; // instead of answering, close the line as an unplug does
};

class ScriptedPeer {
public:
    explicit ScriptedPeer(std::vector<Step> script) : m_script(std::move(script)) {
        m_pty = platform::CPseudoTerminal::Create();
        if (!m_pty) {
            ADD_FAILURE() << "no pseudo-terminal";
            return;
        }
        m_thread = std::thread([this] { Serve(); });
    }
    ~ScriptedPeer() { Join(); }
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;

    std::string Port() const { return m_pty ? m_pty->SlavePath() : std::string(); }

    // The requests received, once the script has run to its end.
    const std::vector<Bytes>& Requests() {
        Join();
        return m_requests;
    }

private:
    void Join() {
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

    // Bounded so that an engine that stops early fails the test instead of
    // hanging it.
    bool ReadSome(std::uint8_t* out, std::size_t n) {
        std::size_t got = 0;
        while (got < n) {
            pollfd entry{m_pty->MasterFd(), POLLIN, 0};
            if (::poll(&entry, 1, 10000) <= 0) {
                return false;
            }
            const ssize_t r = ::read(m_pty->MasterFd(), out + got, n - got);
            if (r <= 0) {
                return false;
            }
            got += static_cast<std::size_t>(r);
        }
        return true;
    }

    void Serve() {
        for (const Step& step : m_script) {
            Bytes request(1);
            if (!ReadSome(request.data(), 1) || request[0] < 2) {
                ADD_FAILURE() << "request " << m_requests.size() + 1 << " did not arrive";
                return;
            }
            request.resize(request[0]);
            if (!ReadSome(request.data() + 1, request.size() - 1)) {
                ADD_FAILURE() << "request " << m_requests.size() + 1 << " is incomplete";
                return;
            }
            m_requests.push_back(request);
            if (step.hangUp) {
                m_pty->Close();
                return;
            }
            if (!step.reply.empty() &&
                ::write(m_pty->MasterFd(), step.reply.data(), step.reply.size()) !=
                    static_cast<ssize_t>(step.reply.size())) {
                ADD_FAILURE() << "reply not written";
            }
        }
    }

    std::vector<Step> m_script;
    std::optional<platform::CPseudoTerminal> m_pty;
    std::vector<Bytes> m_requests;
    std::thread m_thread;
};

} // namespace devicetest
