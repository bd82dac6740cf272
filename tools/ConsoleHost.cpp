#include "tools/ConsoleHost.h"

#include "platform/ResourceText.h"
#include "tools/TerminalText.h"
#include "tools/ToolTexts.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <iostream>
#include <string>
#include <thread>

namespace tool {

namespace {

std::atomic<device::CTransferWorker*> g_running{nullptr};
std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int) {
    g_interrupted = true;
    if (device::CTransferWorker* worker = g_running.load())
        worker->RequestCancel();
}

constexpr int kBarWidth = 30;

} // namespace

CConsoleHost::CConsoleHost(std::optional<bool> presetAnswer)
    : m_presetAnswer(presetAnswer), m_bTerminal(::isatty(STDERR_FILENO) != 0) {}

void CConsoleHost::ShowMessage(const std::string& text, platform::MessageIcon) {
    ReportFailure(text);
}

void CConsoleHost::ReportFailure(const std::string& text) {
    EndBar();
    std::cerr << TerminalMessage(text) << '\n';
    m_strLastMessage = text;
    m_bError = true;
}

int CConsoleHost::Ask(const std::string& heading, const std::string& message,
                      platform::PromptForm form, const std::string& firstButton) {
    EndBar();
    if (form == platform::PromptForm::OneOk) {
        std::cerr << TerminalMessage(heading) << ": " << TerminalMessage(message) << '\n';
        m_strLastMessage = message;
        m_bError = true;
        return platform::kIdCancel;
    }
    std::cerr << TerminalMessage(heading) << "\n" << TerminalMessage(message) << '\n';
    bool yes = false;
    if (m_presetAnswer) {
        yes = *m_presetAnswer;
    } else if (::isatty(STDIN_FILENO)) {
        std::cerr << TerminalMessage(firstButton.empty() ? "OK" : firstButton) << "? [y/N] "
                  << std::flush;
        std::string answer;
        std::getline(std::cin, answer);
        yes = answer == "y" || answer == "Y" || answer == "yes";
    }
    std::cerr << TerminalMessage(yes ? firstButton : platform::LoadText(kTextCancelAnswer)) << '\n';
    return yes ? platform::kIdOk : platform::kIdCancel;
}

void CConsoleHost::SetProgressRange(int upper) {
    m_nRange = upper;
    DrawBar();
}

void CConsoleHost::SetProgressPosition(int position) {
    m_nPosition = position;
    DrawBar();
}

void CConsoleHost::SetLine(device::DialogLine line, const std::string& text) {
    if (line == device::DialogLine::Progress) {
        m_strProgress = text;
        DrawBar();
    } else if (line == device::DialogLine::Message1) {
        m_strMessage1 = text;
    } else {
        m_strMessage2 = text;
    }
}

std::string CConsoleHost::FinishedMessage() const {
    // The dialog blanks its second line with an ideographic space (the
    // set holds its UTF-8 bytes).
    const bool second = m_strMessage2.find_first_not_of(" \u3000") != std::string::npos;
    return second ? m_strMessage1 + "\n" + m_strMessage2 : m_strMessage1;
}

void CConsoleHost::DrawBar() {
    if (!m_bTerminal || m_nRange <= 0)
        return;
    const int filled = m_nPosition >= m_nRange ? kBarWidth : m_nPosition * kBarWidth / m_nRange;
    std::cerr << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
              << std::string(static_cast<std::size_t>(kBarWidth - filled), '-') << "] "
              << TerminalMessage(m_strProgress) << "\x1b[K" << std::flush;
    m_bBarShown = true;
}

void CConsoleHost::EndBar() {
    if (m_bBarShown)
        std::cerr << '\n';
    m_bBarShown = false;
}

void CConsoleHost::Run(device::CTransferWorker& worker) {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    struct sigaction previous {};
    g_interrupted = false;
    g_running = &worker;
    ::sigaction(SIGINT, &action, &previous);
    // The worker runs on its own thread, as under its dialog; the handler
    // only touches atomics, whichever thread takes the signal.
    std::thread thread([&worker] { worker.Run(); });
    thread.join();
    ::sigaction(SIGINT, &previous, nullptr);
    g_running = nullptr;
    EndBar();
}

bool CConsoleHost::WasInterrupted() const {
    return g_interrupted;
}

} // namespace tool
