// The device write progress dialog: sends the filter setting, and the
// computer's time when the clock is to be set, on a worker thread, then
// shows that the device has them.
#pragma once

#include "device/workflow/TransferWorker.h"
#include "device/workflow/WriteWorker.h"
#include "ui/dialogs/WindowPrompts.h"

#include <QDialog>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

class QEventLoop;
class QLabel;
class QProgressBar;

namespace app {
class CECGFramework;
}

namespace ui {

class CCommonButton;

class CDeviceWriteExecDlg : public QDialog, public device::IWorkerHost {
    Q_OBJECT

public:
    static constexpr unsigned kTemplateId = 215;
    static constexpr unsigned kIdProgressBar = 1198;
    static constexpr unsigned kIdMessage1 = 1199;
    static constexpr unsigned kIdProgressText = 1200;
    static constexpr unsigned kIdCancelButton = 1202;
    static constexpr unsigned kIdMessage2 = 1204;

    // Writes the framework's device state to the device.
    CDeviceWriteExecDlg(app::CECGFramework& framework, QWidget* parent = nullptr);
    // Waits for the worker thread to end.
    ~CDeviceWriteExecDlg() override;

    bool SetPort(const std::string& port);
    // The clock whose time a clock write sends (tests); the system clock
    // otherwise.
    void SetClock(device::CWriteWorker::Clock now);
    // Who shows messages; the framework's prompts, else the window prompts,
    // unless replaced.
    void SetPrompts(platform::IUserPrompts* prompts) { m_pPrompts = prompts; }

    // Runs modally and returns once the worker has ended: platform::kIdOk
    // after the device took the settings, platform::kIdCancel after a
    // cancel or a failure (already told to the person).
    int DoModal();

    // The worker's side, callable from the worker thread: widget work is
    // queued to the interface thread, messages wait there for the answer.
    void ShowMessage(const std::string& text, platform::MessageIcon icon) override;
    int Ask(const std::string& heading, const std::string& message, platform::PromptForm form,
            const std::string& firstButton = {}) override;
    void SetProgressRange(int upper) override;
    void SetProgressPosition(int position) override;
    void SetLine(device::DialogLine line, const std::string& text) override;
    void ShowOkButton(bool show) override;
    void ShowCancelButton(bool show) override;
    void ShowDialog(bool show) override;
    void RecordAdded(const std::string& path) override;
    void RequestClose() override;

public slots:
    void done(int result) override;
    // Escape: a close request.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void InitDialog();
    void StartWorker();
    void WaitForWorker();
    void OnCancel();
    // While the worker may still start, a request to close means Cancel;
    // once it has given up or finished, the dialog closes.
    void OnCloseRequest();
    int CancelState() const;
    platform::IUserPrompts& Prompts();
    QLabel* Line(device::DialogLine line) const;
    template <typename Work> void Queue(Work work);
    template <typename Work> auto OnInterfaceThread(Work work);

    app::CECGFramework& m_framework;
    std::string m_strPort;
    device::CWriteWorker::Clock m_clock;
    platform::IUserPrompts* m_pPrompts = nullptr;
    CWindowPrompts m_windowPrompts;
    std::string m_strProgressFmt;
    bool m_bInitialised = false;
    bool m_bClosed = false;

    std::unique_ptr<device::CWriteWorker> m_worker;
    std::thread m_thread;
    std::atomic<bool> m_bWorkerEnded{false};
    QEventLoop* m_pModalLoop = nullptr;
    QEventLoop* m_pWaitLoop = nullptr;

    QProgressBar* m_pProgress = nullptr;
    QLabel* m_pMessage1 = nullptr;
    QLabel* m_pProgressText = nullptr;
    QLabel* m_pMessage2 = nullptr;
    CCommonButton* m_pOk = nullptr;
    CCommonButton* m_pCancel = nullptr;
};

} // namespace ui
