// The device workers' host on a terminal: a progress bar on stderr, the
// messages the windows would show, the clock question answered from an
// option or at the terminal, and Ctrl+C as the Cancel button.
#pragma once

#include "device/workflow/TransferWorker.h"

#include <optional>
#include <string>
#include <vector>

namespace tool {

class CConsoleHost : public device::IWorkerHost {
public:
    // presetAnswer answers the two-button question (the clock prompt);
    // without it the terminal is asked when stdin is one, else "no".
    explicit CConsoleHost(std::optional<bool> presetAnswer = std::nullopt);

    void ShowMessage(const std::string& text, platform::MessageIcon icon) override;
    int Ask(const std::string& heading, const std::string& message, platform::PromptForm form,
            const std::string& firstButton) override;
    void SetProgressRange(int upper) override;
    void SetProgressPosition(int position) override;
    void SetLine(device::DialogLine line, const std::string& text) override;
    void ShowOkButton(bool) override {}
    void ShowCancelButton(bool) override {}
    void ShowDialog(bool) override {}
    void RecordAdded(const std::string& path) override { m_added.push_back(path); }
    void RequestClose() override {}

    // Runs the worker on its own thread with Ctrl+C bound to its Cancel.
    void Run(device::CTransferWorker& worker);
    // A failure found before any worker ran (the status read), told as the
    // workers' messages are.
    void ReportFailure(const std::string& text);

    const std::vector<std::string>& Added() const { return m_added; }
    // The last message shown: an error or a warning.
    const std::string& LastMessage() const { return m_strLastMessage; }
    // The worker's closing lines, one per line.
    std::string FinishedMessage() const;
    bool ShowedError() const { return m_bError; }
    bool WasInterrupted() const;

private:
    void DrawBar();
    void EndBar();

    std::optional<bool> m_presetAnswer;
    std::vector<std::string> m_added;
    std::string m_strLastMessage;
    std::string m_strMessage1;
    std::string m_strMessage2;
    std::string m_strProgress;
    int m_nRange = 0;
    int m_nPosition = 0;
    bool m_bBarShown = false;
    bool m_bError = false;
    bool m_bTerminal = false;
};

} // namespace tool
