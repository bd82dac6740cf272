#include "ui/dialogs/WindowPrompts.h"

#include "platform/ResourceText.h"
#include "ui/dialogs/DialogLook.h"
#include "ui/dialogs/MsgBoxDlg.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

namespace ui {

namespace {

// Widgets live on the interface thread only; a caller elsewhere waits there
// until the answer is known.
template <typename Work> auto OnInterfaceThread(Work work) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr || QThread::currentThread() == application->thread()) {
        return work();
    }
    decltype(work()) result{};
    QMetaObject::invokeMethod(
        application, [&] { result = work(); }, Qt::BlockingQueuedConnection);
    return result;
}

} // namespace

void CWindowPrompts::ShowMessage(const std::string& text, platform::MessageIcon icon) {
    OnInterfaceThread([&] {
        QMessageBox box(icon == platform::MessageIcon::Hand ? QMessageBox::Critical
                                                            : QMessageBox::Warning,
                        ToQt(platform::LoadText(57344)), ToQt(text), QMessageBox::Ok,
                        QApplication::activeWindow());
        box.setTextFormat(Qt::PlainText);
        return box.exec();
    });
}

int CWindowPrompts::Ask(const std::string& heading, const std::string& message,
                        platform::PromptForm form, const std::string& firstButton) {
    return OnInterfaceThread([&] {
        MsgBoxDlg dialog(heading, message,
                         form == platform::PromptForm::OneOk ? MsgBoxDlg::kTypeOneOk
                                                             : MsgBoxDlg::kTypeTwoButtons,
                         QApplication::activeWindow());
        if (form == platform::PromptForm::YesNo) {
            dialog.SetMode(MsgBoxDlg::kModeYesNo);
        } else if (form == platform::PromptForm::TwoButtons) {
            dialog.SetOkText(firstButton);
        }
        return dialog.DoModal();
    });
}

int CWindowPrompts::AskPrintTarget(const std::string& heading, const std::string& message,
                                   int& choice) {
    return OnInterfaceThread([&] {
        MsgBoxDlg dialog(heading, message, MsgBoxDlg::kTypeTwoButtons,
                         QApplication::activeWindow());
        dialog.SetMode(MsgBoxDlg::kModePrintChoice);
        const int answer = dialog.DoModal();
        choice = dialog.GetChoice();
        return answer;
    });
}

platform::IUserPrompts& PickPrompts(platform::IUserPrompts* given,
                                    platform::IUserPrompts* framework, CWindowPrompts& windows) {
    if (given != nullptr)
        return *given;
    return framework != nullptr ? *framework : windows;
}

} // namespace ui
