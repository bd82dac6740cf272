#include "ui/dialogs/DeviceWriteExecDlg.h"

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

const char kTemplateCaption[] = "機器書き込み";
const char kTemplateMessage1[] = "設定した内容を機器に書き込んでいます。";
const char kTemplateMessage2[] = "完了するまで機器を取り外さないでください。";
const char kTemplateProgress[] = "%d/%d";
const char kTemplateOk[] = "OK";
const char kTemplateCancel[] = "キャンセル";

constexpr int kMargin = 24;
constexpr int kMinProgressWidth = 360;

} // namespace

CDeviceWriteExecDlg::CDeviceWriteExecDlg(app::CECGFramework& framework, QWidget* parent)
    : QDialog(parent), m_framework(framework) {
    BuildControls();
}

CDeviceWriteExecDlg::~CDeviceWriteExecDlg() {
    if (m_worker && !m_bWorkerEnded && CancelState() == device::kRunning) {
        m_worker->RequestCancel();
    }
    WaitForWorker();
}

void CDeviceWriteExecDlg::BuildControls() {
    // A caption to say what runs, but no close box: while the worker runs
    // only Cancel may stop it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QString::fromUtf8(kTemplateCaption));
    SetWhiteBackground(this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kMargin, kMargin - 4, kMargin, 16);
    column->setSpacing(8);
    column->setSizeConstraint(QLayout::SetFixedSize);

    m_pMessage1 = MakeStatic(this, kIdMessage1, QString::fromUtf8(kTemplateMessage1));
    m_pMessage2 = MakeStatic(this, kIdMessage2, QString::fromUtf8(kTemplateMessage2));
    m_pProgress = new QProgressBar(this);
    SetControlId(m_pProgress, kIdProgressBar);
    // An empty range would make the bar a busy indicator.
    m_pProgress->setRange(0, 1);
    m_pProgress->setValue(0);
    m_pProgress->setTextVisible(false);
    m_pProgress->setMinimumWidth(kMinProgressWidth);
    m_pProgressText = MakeStatic(this, kIdProgressText, QString::fromUtf8(kTemplateProgress));
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
    connect(m_pCancel, &QPushButton::clicked, this, &CDeviceWriteExecDlg::OnCancel);
}

bool CDeviceWriteExecDlg::SetPort(const std::string& port) {
    m_strPort = port;
    return true;
}

void CDeviceWriteExecDlg::SetClock(device::CWriteWorker::Clock now) {
    m_clock = std::move(now);
}

platform::IUserPrompts& CDeviceWriteExecDlg::Prompts() {
    if (m_pPrompts != nullptr) {
        return *m_pPrompts;
    }
    if (platform::IUserPrompts* prompts = m_framework.GetPrompts()) {
        return *prompts;
    }
    return m_windowPrompts;
}

void CDeviceWriteExecDlg::InitDialog() {
    if (m_bInitialised) {
        return;
    }
    m_bInitialised = true;
    TranslateDialog(this, kTemplateId);
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

int CDeviceWriteExecDlg::DoModal() {
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
    // The device state is the caller's again only once the worker is done
    // with it.
    WaitForWorker();
    return result();
}

void CDeviceWriteExecDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    StartWorker();
}

void CDeviceWriteExecDlg::StartWorker() {
    if (m_worker) {
        return;
    }
    InitDialog();
    m_worker = std::make_unique<device::CWriteWorker>(
        *this, m_strProgressFmt, m_framework.GetDeviceState(), m_strPort, m_clock);
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

void CDeviceWriteExecDlg::WaitForWorker() {
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

int CDeviceWriteExecDlg::CancelState() const {
    return m_worker ? m_worker->GetCancelState() : static_cast<int>(device::kCancelled);
}

void CDeviceWriteExecDlg::OnCancel() {
    m_pCancel->setEnabled(false);
    if (CancelState() == device::kRunning) {
        m_worker->RequestCancel();
    }
}

void CDeviceWriteExecDlg::OnCloseRequest() {
    const int state = CancelState();
    if (state == device::kRunning) {
        OnCancel();
        return;
    }
    // The worker leaves the same state after success and after a failure;
    // only success shows OK, and every way of closing then keeps it.
    const bool succeeded = state == device::kFinished || !m_pOk->isHidden();
    done(succeeded ? platform::kIdOk : platform::kIdCancel);
}

void CDeviceWriteExecDlg::reject() {
    OnCloseRequest();
}

void CDeviceWriteExecDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    OnCloseRequest();
}

void CDeviceWriteExecDlg::done(int result) {
    m_bClosed = true;
    QDialog::done(result);
    if (m_pModalLoop != nullptr) {
        m_pModalLoop->quit();
    }
}

template <typename Work> void CDeviceWriteExecDlg::Queue(Work work) {
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

template <typename Work> auto CDeviceWriteExecDlg::OnInterfaceThread(Work work) {
    if (QThread::currentThread() == thread()) {
        return work();
    }
    decltype(work()) result{};
    QMetaObject::invokeMethod(
        this, [&] { result = work(); }, Qt::BlockingQueuedConnection);
    return result;
}

QLabel* CDeviceWriteExecDlg::Line(device::DialogLine line) const {
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

void CDeviceWriteExecDlg::ShowMessage(const std::string& text, platform::MessageIcon icon) {
    OnInterfaceThread([&] {
        Prompts().ShowMessage(text, icon);
        return 0;
    });
}

int CDeviceWriteExecDlg::Ask(const std::string& heading, const std::string& message,
                             platform::PromptForm form, const std::string& firstButton) {
    return OnInterfaceThread([&] { return Prompts().Ask(heading, message, form, firstButton); });
}

void CDeviceWriteExecDlg::SetProgressRange(int upper) {
    Queue([this, upper] { m_pProgress->setRange(0, std::max(upper, 1)); });
}

void CDeviceWriteExecDlg::SetProgressPosition(int position) {
    Queue([this, position] { m_pProgress->setValue(position); });
}

void CDeviceWriteExecDlg::SetLine(device::DialogLine line, const std::string& text) {
    Queue([this, line, text] { Line(line)->setText(ToQt(text)); });
}

void CDeviceWriteExecDlg::ShowOkButton(bool show) {
    Queue([this, show] {
        m_pOk->setVisible(show);
        if (show) {
            m_pOk->setDefault(true);
            m_pOk->setFocus();
        }
    });
}

void CDeviceWriteExecDlg::ShowCancelButton(bool show) {
    Queue([this, show] { m_pCancel->setVisible(show); });
}

void CDeviceWriteExecDlg::ShowDialog(bool show) {
    Queue([this, show] {
        if (!m_bClosed) {
            setVisible(show);
        }
    });
}

// A write adds no records.
void CDeviceWriteExecDlg::RecordAdded(const std::string&) {}

void CDeviceWriteExecDlg::RequestClose() {
    Queue([this] {
        if (!m_bClosed) {
            OnCloseRequest();
        }
    });
}

} // namespace ui
