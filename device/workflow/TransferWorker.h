// What a device worker (import, SD copy, device write) sees of the dialog
// that runs it, and the progress and cancel state the two share. The
// worker runs on its own thread; the host queues everything it is told to
// the user-interface thread, and a question blocks the worker until the
// answer is there. The command line implements the same host on a terminal.
#pragma once

#include "platform/UserPrompts.h"

#include <atomic>
#include <string>

namespace device {

// The dialog's two message lines and its progress text.
enum class DialogLine { Message1, Progress, Message2 };

class IWorkerHost : public platform::IUserPrompts {
public:
    virtual void SetProgressRange(int upper) = 0;
    virtual void SetProgressPosition(int position) = 0;
    virtual void SetLine(DialogLine line, const std::string& text) = 0;
    virtual void ShowOkButton(bool show) = 0;
    virtual void ShowCancelButton(bool show) = 0;
    virtual void ShowDialog(bool show) = 0;
    // A record file the run added to the data folder (the framework's list
    // of new records).
    virtual void RecordAdded(const std::string& path) = 0;
    // The worker is done with the dialog: the dialog closes as soon as the
    // cancel state allows it.
    virtual void RequestClose() = 0;
};

// The cancel state: 0 running, 1 cancel requested or the dialog must close,
// 2 finished with success.
enum CancelState { kRunning = 0, kCancelled = 1, kFinished = 2 };

class CTransferWorker {
public:
    // progressFormat is the dialog's progress text, formatted with two
    // integers (done, total).
    CTransferWorker(IWorkerHost& host, std::string progressFormat);
    virtual ~CTransferWorker() = default;
    CTransferWorker(const CTransferWorker&) = delete;
    CTransferWorker& operator=(const CTransferWorker&) = delete;

    // The work, on the worker thread.
    virtual void Run() = 0;

    // From the user-interface thread (or a signal handler): takes effect
    // after the item in progress. A worker that has finished stays so.
    void RequestCancel() {
        int running = kRunning;
        m_bCancel.compare_exchange_strong(running, kCancelled);
    }
    int GetCancelState() const { return m_bCancel; }

protected:
    void SetupProgress(int total);
    void StepProgress(int done, bool added, int total, const std::string& path);

    IWorkerHost& m_host;
    std::atomic<int> m_bCancel{kRunning};
    std::string m_strProgressFmt;
    int m_nSaved = 0;
};

} // namespace device
