// The Help menu's information dialogs and the window prompts: links open
// their documents (or say clearly that they cannot) and leave the dialog
// open; messages and questions reach the person in the right box.
#include "ui/dialogs/CommonDlg.h"
#include "ui/dialogs/WindowPrompts.h"

#include "DialogTestSupport.h"
#include "support/ScriptedPrompts.h"
#include "ui/dialogs/CommonButton.h"
#include "ui/dialogs/LinkLabel.h"
#include "ui/dialogs/ManualPath.h"
#include "ui/dialogs/MsgBoxDlg.h"

#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using dialogtest::Control;
using dialogtest::PressKey;
using dialogtest::RunModal;
using platform::kIdCancel;
using platform::kIdOk;
using ui::CommonDlg;

struct InfoCase {
    int templateId;
    unsigned linkId;
    unsigned documentId;
    const char* heading; // in English
};

void PrintTo(const InfoCase& info, std::ostream* out) {
    *out << "template " << info.templateId;
}

const InfoCase kInfoCases[] = {
    {CommonDlg::kVarious, 1298, CommonDlg::kLicenceTextId, "About Rhythmora"},
    {CommonDlg::kRegulatory, 1196, CommonDlg::kAttachedDocumentTextId, "Regulatory Information"},
};

class InfoDialogTest : public ::testing::TestWithParam<InfoCase> {
protected:
    InfoDialogTest() : m_language(dialogtest::kEnglish) {}
    dialogtest::LanguageScope m_language;
};

TEST_P(InfoDialogTest, LinkOpensItsDocumentAndTheDialogStays) {
    const InfoCase& info = GetParam();
    CommonDlg dialog(info.templateId);
    std::vector<std::string> opened;
    testsupport::ScriptedPrompts prompts;
    dialog.SetDocumentOpener([&](const std::string& path) {
        opened.push_back(path);
        return true;
    });
    dialog.SetPrompts(&prompts);
    const int answer = RunModal(dialog, [&] {
        EXPECT_EQ(Control<QLabel>(&dialog, 1294)->text(), info.heading);
        auto* link = Control<ui::CLinkLabel>(&dialog, info.linkId);
        link->setFocus();
        PressKey(link, Qt::Key_Space);
        EXPECT_TRUE(dialog.isVisible());
        Control<ui::CCommonButton>(&dialog, kIdOk)->setFocus();
        PressKey(dialog.focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(answer, kIdOk);
    EXPECT_EQ(opened, std::vector<std::string>{ui::BuildManualPath(info.documentId)});
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_P(InfoDialogTest, ADocumentThatCannotBeOpenedIsReported) {
    const InfoCase& info = GetParam();
    CommonDlg dialog(info.templateId);
    testsupport::ScriptedPrompts prompts;
    dialog.SetDocumentOpener([](const std::string&) { return false; });
    dialog.SetPrompts(&prompts);
    const int answer = RunModal(dialog, [&] {
        auto* link = Control<ui::CLinkLabel>(&dialog, info.linkId);
        link->setFocus();
        PressKey(link, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        PressKey(dialog.focusWidget(), Qt::Key_Escape);
    });
    EXPECT_EQ(answer, kIdCancel);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text,
              "The selected file was not found.\n" + ui::BuildManualPath(info.documentId));
    EXPECT_EQ(prompts.shown[0].icon, platform::MessageIcon::Hand);
}

INSTANTIATE_TEST_SUITE_P(Templates, InfoDialogTest, ::testing::ValuesIn(kInfoCases));

class WindowPromptsTest : public ::testing::Test {
protected:
    WindowPromptsTest() : m_language(dialogtest::kNoLanguage) {}
    dialogtest::LanguageScope m_language;
};

// The message box or dialog that is open now, answered by a click.
template <typename Box> Box* OpenBox() {
    return qobject_cast<Box*>(QApplication::activeModalWidget());
}

TEST_F(WindowPromptsTest, MessagesShowTheTitleTextAndIcon) {
    ui::CWindowPrompts prompts;
    for (const auto& [icon, expected] :
         {std::pair{platform::MessageIcon::Exclamation, QMessageBox::Warning},
          std::pair{platform::MessageIcon::Hand, QMessageBox::Critical}}) {
        bool seen = false;
        QTimer::singleShot(0, [&, want = expected] {
            QMessageBox* box = OpenBox<QMessageBox>();
            ASSERT_NE(box, nullptr);
            seen = true;
            EXPECT_EQ(box->windowTitle(), "Rhythmora");
            EXPECT_EQ(box->text(), "<b>not markup</b>");
            EXPECT_EQ(box->icon(), want);
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            box->accept();
        });
        prompts.ShowMessage("<b>not markup</b>", icon);
        EXPECT_TRUE(seen);
    }
}

TEST_F(WindowPromptsTest, QuestionsUseTheMessageBoxForms) {
    ui::CWindowPrompts prompts;
    struct Question {
        platform::PromptForm form;
        std::string firstButton;
        bool firstShown;
        std::string firstLabel, secondLabel;
        unsigned clicked;
        int answer;
    };
    const Question questions[] = {
        {platform::PromptForm::OneOk, "", false, "", "OK", 2, kIdCancel},
        {platform::PromptForm::TwoButtons, "上書き", true, "上書き", "キャンセル", 1, kIdOk},
        {platform::PromptForm::TwoButtons, "", true, "OK", "キャンセル", 2, kIdCancel},
        {platform::PromptForm::YesNo, "", true, "はい(&Y)", "いいえ(&N)", 1, kIdOk},
    };
    for (const Question& question : questions) {
        QTimer::singleShot(0, [&] {
            auto* box = OpenBox<ui::MsgBoxDlg>();
            ASSERT_NE(box, nullptr);
            auto* first = Control<ui::CCommonButton>(box, 1);
            auto* second = Control<ui::CCommonButton>(box, 2);
            EXPECT_EQ(first->isVisible(), question.firstShown);
            if (question.firstShown) {
                EXPECT_EQ(first->text().toStdString(), question.firstLabel);
            }
            EXPECT_EQ(second->text().toStdString(), question.secondLabel);
            EXPECT_EQ(Control<QLabel>(box, ui::MsgBoxDlg::kIdHeading)->text(), "Heading");
            (question.clicked == 1 ? first : second)->click();
        });
        EXPECT_EQ(prompts.Ask("Heading", "Message", question.form, question.firstButton),
                  question.answer);
    }
}

TEST_F(WindowPromptsTest, AWorkerWaitsForTheAnswerFromTheInterfaceThread) {
    ui::CWindowPrompts prompts;
    std::atomic<int> answer{0};
    QEventLoop loop;
    // Answers the question once it is open, from the interface thread.
    QTimer answerer;
    answerer.setInterval(0);
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        if (auto* box = OpenBox<ui::MsgBoxDlg>()) {
            EXPECT_EQ(box->thread(), QThread::currentThread());
            Control<ui::CCommonButton>(box, 1)->click();
        }
    });
    answerer.start();
    std::thread worker([&] {
        answer = prompts.Ask("Heading", "Message", platform::PromptForm::YesNo);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    EXPECT_EQ(answer, kIdOk);
}

} // namespace
