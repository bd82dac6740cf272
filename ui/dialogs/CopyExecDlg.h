// The import progress dialog: runs the import from the device, or the copy
// from its SD card, on a worker thread and shows how far it has come, with
// Cancel while it works and OK once an import has succeeded.
#pragma once

#include "device/workflow/DownloadWorker.h"
#include "device/workflow/SdCopy.h"
#include "device/workflow/TransferWorker.h"
#include "ui/dialogs/WindowPrompts.h"

#include <QDialog>

#include <atomic>
#include <memory>
#include <optional>
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

class CCopyExecDlg : public QDialog, public device::IWorkerHost {
    Q_OBJECT

public:
    static constexpr unsigned kTemplateId = 214;
    static constexpr unsigned kIdProgressBar = 1198;
    static constexpr unsigned kIdMessage1 = 1199;
    static constexpr unsigned kIdProgressText = 1200;
    static constexpr unsigned kIdCancelButton = 1202;
    static constexpr unsigned kIdMessage2 = 1204;

    // The framework gives the device state, the list of new paths (emptied
    // when the dialog starts, RecordAdded appends) and the prompts.
    CCopyExecDlg(app::CECGFramework& framework, QWidget* parent = nullptr);
    // Waits for the worker thread to end.
    ~CCopyExecDlg() override;

    // The device import: port and the data folder. False after the
    // "HDD Error" message when the folder is unusable.
    bool SetPortAndFolder(const std::string& port, const std::string& folder);
    // The SD-card copy instead: the plan BuildSdFileList made.
    void SetCardCopy(device::SdCopyPlan plan);

    // Runs modally and returns once the worker has ended: platform::kIdOk
    // when the person closed it after a successful import,
    // platform::kIdCancel after a cancel, a failure or a card copy (which
    // closes by itself).
    int DoModal();

    // The download worker's clock (tests); the system clock otherwise.
    void SetClock(device::CDownloadWorker::Clock now);
    // Who shows messages and questions; the framework's prompts, else the
    // window prompts, unless replaced. Always called on this thread.
    void SetPrompts(platform::IUserPrompts* prompts) { m_pPrompts = prompts; }

    // The worker's side: callable from the worker thread. Widget work is
    // queued to the interface thread; messages and questions wait there
    // for the answer.
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
    // While the worker runs, a request to close means Cancel; once it has
    // given up or finished, the dialog closes.
    void OnCloseRequest();
    int CancelState() const;
    platform::IUserPrompts& Prompts();
    QLabel* Line(device::DialogLine line) const;
    template <typename Work> void Queue(Work work);
    template <typename Work> auto OnInterfaceThread(Work work);

    app::CECGFramework& m_framework;
    std::string m_strPort;
    std::string m_strFolder;
    std::optional<device::SdCopyPlan> m_card;
    device::CDownloadWorker::Clock m_clock;
    platform::IUserPrompts* m_pPrompts = nullptr;
    CWindowPrompts m_windowPrompts;
    std::string m_strProgressFmt;
    bool m_bInitialised = false;
    bool m_bClosed = false;

    std::unique_ptr<device::CTransferWorker> m_worker;
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
