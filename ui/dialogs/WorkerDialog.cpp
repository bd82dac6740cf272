#include "ui/dialogs/WorkerDialog.h"

#include "app/ECGFramework.h"
#include "platform/TextFormat.h"
#include "ui/Translate.h"
#include "ui/dialogs/CommonButton.h"
#include "ui/dialogs/DialogLook.h"
#include "ui/dialogs/UIFontTable.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QThread>

#include <algorithm>

namespace ui {

namespace {

const char kTemplateMessage2[] = "完了するまで機器を取り外さないでください。";
const char kTemplateOk[] = "OK";
const char kTemplateCancel[] = "キャンセル";

constexpr int kMargin = 24;
constexpr int kMinProgressWidth = 360;

} // namespace

CWorkerDialog::CWorkerDialog(app::CECGFramework& framework, const WorkerDialogTexts& texts,
                             QWidget* parent)
    : QDialog(parent), m_framework(framework), m_nTemplateId(texts.templateId) {
    BuildControls(texts);
}

CWorkerDialog::~CWorkerDialog() {
    if (m_worker && !m_bWorkerEnded && CancelState() == device::kRunning) {
        m_worker->RequestCancel();
    }
    WaitForWorker();
}

void CWorkerDialog::BuildControls(const WorkerDialogTexts& texts) {
    // A caption to say what runs, but no close box: while the worker runs
    // only Cancel may stop it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QString::fromUtf8(texts.caption));
    SetWhiteBackground(this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kMargin, kMargin - 4, kMargin, 16);
    column->setSpacing(8);
    column->setSizeConstraint(QLayout::SetFixedSize);

    m_pMessage1 = MakeStatic(this, kIdMessage1, QString::fromUtf8(texts.message1));
    m_pMessage2 = MakeStatic(this, kIdMessage2, QString::fromUtf8(kTemplateMessage2));
    m_pProgress = new QProgressBar(this);
    SetControlId(m_pProgress, kIdProgressBar);
    // An empty range would make the bar a busy indicator.
    m_pProgress->setRange(0, 1);
    m_pProgress->setValue(0);
    m_pProgress->setTextVisible(false);
    m_pProgress->setMinimumWidth(kMinProgressWidth);
    m_pProgressText = MakeStatic(this, kIdProgressText, QString::fromUtf8(texts.progress));
    m_pProgressText->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    column->addWidget(m_pMessage1);
    column->addWidget(m_pMessage2);
    column->addSpacing(8);
    column->addWidget(m_pProgress);
    column->addWidget(m_pProgressText);

    m_pOk = new CCommonButton(QString::fromUtf8(kTemplateOk), this);
    SetControlId(m_pOk, platform::kIdOk);
    m_pOk->hide();
    m_pCancel = new CCommonButton(QString::fromUtf8(kTemplateCancel), this);
    SetControlId(m_pCancel, kIdCancelButton);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_pOk);
    buttons->addWidget(m_pCancel);
    buttons->addStretch(1);
    column->addSpacing(6);
    column->addLayout(buttons);

    connect(m_pOk, &QPushButton::clicked, this, [this] { done(platform::kIdOk); });
    connect(m_pCancel, &QPushButton::clicked, this, &CWorkerDialog::OnCancel);
}

platform::IUserPrompts& CWorkerDialog::Prompts() {
    return PickPrompts(m_pPrompts, m_framework.GetPrompts(), m_windowPrompts);
}

void CWorkerDialog::InitDialog() {
    if (m_bInitialised) {
        return;
    }
    m_bInitialised = true;
    TranslateDialog(this, m_nTemplateId);
    ApplyUIFont(this, 1, true);
    ApplyUIFont(m_pOk, 4, false);
    ApplyUIFont(m_pCancel, 4, false);
    // Only one of the two shows at a time, so each is the dialog's
    // emphasised button.
    StylePrimary(m_pOk);
    StylePrimary(m_pCancel);
    m_strProgressFmt = m_pProgressText->text().toStdString();
    m_pProgressText->setText(ToQt(platform::FormatText(m_strProgressFmt, {0, 0})));
    adjustSize();
    m_pCancel->setFocus();
}

int CWorkerDialog::DoModal() {
    InitDialog();
    setWindowModality(Qt::ApplicationModal);
    // Its own loop rather than exec(): the dialog hides while the clock
    // question is up, and hiding would end exec().
    QEventLoop loop;
    m_pModalLoop = &loop;
    show();
    if (!m_bClosed) {
        loop.exec(QEventLoop::DialogExec);
    }
    m_pModalLoop = nullptr;
    // The caller goes on with the record list or the device state next: a
    // cancelled import's files must be gone, and a finished one's complete.
    WaitForWorker();
    return result();
}

void CWorkerDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    StartWorker();
}

void CWorkerDialog::StartWorker() {
    if (m_worker) {
        return;
    }
    InitDialog();
    m_worker = MakeWorker(m_strProgressFmt);
    m_thread = std::thread([this] {
        m_worker->Run();
        m_bWorkerEnded = true;
        Queue([this] {
            if (m_pWaitLoop != nullptr) {
                m_pWaitLoop->quit();
            }
        });
    });
}

void CWorkerDialog::WaitForWorker() {
    if (!m_thread.joinable()) {
        return;
    }
    // The worker may still need this thread for a message or a question;
    // only a worker that has ended can be joined without waiting on it.
    if (!m_bWorkerEnded) {
        QEventLoop loop;
        m_pWaitLoop = &loop;
        loop.exec();
        m_pWaitLoop = nullptr;
    }
    m_thread.join();
}

int CWorkerDialog::CancelState() const {
    return m_worker ? m_worker->GetCancelState() : static_cast<int>(device::kCancelled);
}

void CWorkerDialog::OnCancel() {
    m_pCancel->setEnabled(false);
    if (CancelState() == device::kRunning) {
        m_worker->RequestCancel();
    }
}

void CWorkerDialog::OnCloseRequest() {
    const int state = CancelState();
    if (state == device::kRunning) {
        OnCancel();
        return;
    }
    // After a success every way of closing keeps its result: imported
    // records are in the folder and the list must show them. OK shows only
    // after success, even should a late Cancel have overwritten the state
    // (the write worker leaves the same state after success and failure).
    const bool succeeded = state == device::kFinished || !m_pOk->isHidden();
    done(succeeded ? platform::kIdOk : platform::kIdCancel);
}

void CWorkerDialog::reject() {
    OnCloseRequest();
}

void CWorkerDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    OnCloseRequest();
}

void CWorkerDialog::done(int result) {
    m_bClosed = true;
    QDialog::done(result);
    if (m_pModalLoop != nullptr) {
        m_pModalLoop->quit();
    }
}

template <typename Work> void CWorkerDialog::Queue(Work work) {
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

template <typename Work> auto CWorkerDialog::OnInterfaceThread(Work work) {
    if (QThread::currentThread() == thread()) {
        return work();
    }
    decltype(work()) result{};
    QMetaObject::invokeMethod(
        this, [&] { result = work(); }, Qt::BlockingQueuedConnection);
    return result;
}

QLabel* CWorkerDialog::Line(device::DialogLine line) const {
    switch (line) {
    case device::DialogLine::Message1:
        return m_pMessage1;
    case device::DialogLine::Progress:
        return m_pProgressText;
    case device::DialogLine::Message2:
        return m_pMessage2;
    }
    return m_pProgressText;
}

void CWorkerDialog::ShowMessage(const std::string& text, platform::MessageIcon icon) {
    OnInterfaceThread([&] {
        Prompts().ShowMessage(text, icon);
        return 0;
    });
}

int CWorkerDialog::Ask(const std::string& heading, const std::string& message,
                       platform::PromptForm form, const std::string& firstButton) {
    return OnInterfaceThread([&] { return Prompts().Ask(heading, message, form, firstButton); });
}

void CWorkerDialog::SetProgressRange(int upper) {
    Queue([this, upper] { m_pProgress->setRange(0, std::max(upper, 1)); });
}

void CWorkerDialog::SetProgressPosition(int position) {
    Queue([this, position] { m_pProgress->setValue(position); });
}

void CWorkerDialog::SetLine(device::DialogLine line, const std::string& text) {
    Queue([this, line, text] { Line(line)->setText(ToQt(text)); });
}

void CWorkerDialog::ShowOkButton(bool show) {
    Queue([this, show] {
        m_pOk->setVisible(show);
        if (show) {
            m_pOk->setDefault(true);
            m_pOk->setFocus();
        }
    });
}

void CWorkerDialog::ShowCancelButton(bool show) {
    Queue([this, show] { m_pCancel->setVisible(show); });
}

void CWorkerDialog::ShowDialog(bool show) {
    Queue([this, show] {
        if (!m_bClosed) {
            setVisible(show);
        }
    });
}

void CWorkerDialog::RecordAdded(const std::string& path) {
    Queue([this, path] { m_framework.AppendNewPath(path); });
}

void CWorkerDialog::RequestClose() {
    Queue([this] {
        if (!m_bClosed) {
            OnCloseRequest();
        }
    });
}

} // namespace ui
