// The progress dialog a device worker runs in (the import, the SD-card copy,
// the device write): two message lines, a progress bar and its text, Cancel
// while the worker runs and OK once it has succeeded. The worker runs on its
// own thread; everything it tells the dialog is carried out on the
// interface thread.
#pragma once

#include "device/workflow/TransferWorker.h"
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

// The texts a dialog starts with before its language file translates it.
struct WorkerDialogTexts {
    unsigned templateId;
    const char* caption;
    const char* message1;
    const char* progress;
};

class CWorkerDialog : public QDialog, public device::IWorkerHost {
    Q_OBJECT

public:
    static constexpr unsigned kIdProgressBar = 1198;
    static constexpr unsigned kIdMessage1 = 1199;
    static constexpr unsigned kIdProgressText = 1200;
    static constexpr unsigned kIdCancelButton = 1202;
    static constexpr unsigned kIdMessage2 = 1204;

    // Waits for the worker thread to end, cancelling it if it still runs.
    ~CWorkerDialog() override;

    // Runs modally and returns once the worker has ended, so that what the
    // worker used (the data folder, the device state) is the caller's again:
    // platform::kIdOk when the person closed it after a success,
    // platform::kIdCancel after a cancel or a failure (already told).
    int DoModal();

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
    CWorkerDialog(app::CECGFramework& framework, const WorkerDialogTexts& texts, QWidget* parent);

    // The worker for this run, made on the interface thread as the dialog
    // first shows; progressFormat is the translated progress text.
    virtual std::unique_ptr<device::CTransferWorker>
    MakeWorker(const std::string& progressFormat) = 0;

    app::CECGFramework& Framework() { return m_framework; }
    platform::IUserPrompts& Prompts();

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls(const WorkerDialogTexts& texts);
    void InitDialog();
    void StartWorker();
    void WaitForWorker();
    void OnCancel();
    // While the worker runs, a request to close means Cancel; once it has
    // given up or finished, the dialog closes.
    void OnCloseRequest();
    int CancelState() const;
    QLabel* Line(device::DialogLine line) const;
    template <typename Work> void Queue(Work work);
    template <typename Work> auto OnInterfaceThread(Work work);

    app::CECGFramework& m_framework;
    const unsigned m_nTemplateId;
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
