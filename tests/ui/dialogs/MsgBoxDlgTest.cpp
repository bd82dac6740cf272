// The program's message box: which buttons each form shows and what they
// answer, the Enter and arrow-key rules, the print choice, and a size that
// never cuts a long message off.
#include "ui/dialogs/MsgBoxDlg.h"

#include "DialogTestSupport.h"
#include "platform/UserPrompts.h"
#include "ui/dialogs/CommonButton.h"

#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using dialogtest::Control;
using dialogtest::PressKey;
using dialogtest::RunModal;
using platform::kIdCancel;
using platform::kIdOk;
using ui::MsgBoxDlg;

struct Form {
    const char* name;
    int type;
    int mode;
    const char* okText;
    bool firstShown;
    const char* firstLabel;
    const char* secondLabel;
    bool choiceShown;
};

void PrintTo(const Form& form, std::ostream* out) {
    *out << form.name;
}

const Form kForms[] = {
    {"one OK", MsgBoxDlg::kTypeOneOk, MsgBoxDlg::kModePlain, "", false, "", "OK", false},
    {"one OK ignores the mode", MsgBoxDlg::kTypeOneOk, MsgBoxDlg::kModePrintChoice, "", false, "",
     "OK", false},
    {"one button", MsgBoxDlg::kTypeOneButton, MsgBoxDlg::kModeYesNo, "", false, "", "キャンセル",
     false},
    {"two buttons", MsgBoxDlg::kTypeTwoButtons, MsgBoxDlg::kModePlain, "", true, "OK", "キャンセル",
     false},
    {"two buttons, own label", MsgBoxDlg::kTypeTwoButtons, MsgBoxDlg::kModePlain, "削除", true,
     "削除", "キャンセル", false},
    {"yes/no", MsgBoxDlg::kTypeTwoButtons, MsgBoxDlg::kModeYesNo, "ignored", true, "はい(&Y)",
     "いいえ(&N)", false},
    {"print choice", MsgBoxDlg::kTypeTwoButtons, MsgBoxDlg::kModePrintChoice, "ignored", true,
     "印刷", "キャンセル", true},
};

class MsgBoxFormTest : public ::testing::TestWithParam<Form> {
protected:
    MsgBoxFormTest() : m_language(dialogtest::kNoLanguage) {}

    void Prepare(MsgBoxDlg& dialog) const {
        dialog.SetType(GetParam().type);
        dialog.SetMode(GetParam().mode);
        dialog.SetOkText(GetParam().okText);
        dialog.SetHeading("Heading");
        dialog.SetMessage("Message");
    }

    dialogtest::LanguageScope m_language;
};

TEST_P(MsgBoxFormTest, ShowsTheFormsButtonsAndChoice) {
    const Form& form = GetParam();
    MsgBoxDlg dialog;
    Prepare(dialog);
    RunModal(dialog, [&] {
        auto* first = Control<ui::CCommonButton>(&dialog, 1);
        auto* second = Control<ui::CCommonButton>(&dialog, 2);
        EXPECT_EQ(first->isVisible(), form.firstShown);
        if (form.firstShown) {
            EXPECT_EQ(first->text().toStdString(), form.firstLabel);
        }
        EXPECT_TRUE(second->isVisible());
        EXPECT_EQ(second->text().toStdString(), form.secondLabel);
        for (unsigned id : {MsgBoxDlg::kIdRadioMarked, MsgBoxDlg::kIdRadioFocused,
                            MsgBoxDlg::kIdMarkPicture, MsgBoxDlg::kIdMarkedTail}) {
            EXPECT_EQ(Control<QWidget>(&dialog, id)->isVisible(), form.choiceShown) << id;
        }
        EXPECT_EQ(Control<QLabel>(&dialog, MsgBoxDlg::kIdHeading)->text(), "Heading");
        EXPECT_EQ(Control<QLabel>(&dialog, MsgBoxDlg::kIdMessage)->text(), "Message");
        dialog.reject();
    });
}

TEST_P(MsgBoxFormTest, EachButtonAndEscapeAnswer) {
    const Form& form = GetParam();
    if (form.firstShown) {
        MsgBoxDlg dialog;
        Prepare(dialog);
        EXPECT_EQ(RunModal(dialog, [&] { Control<ui::CCommonButton>(&dialog, 1)->click(); }),
                  kIdOk);
    }
    MsgBoxDlg second;
    Prepare(second);
    EXPECT_EQ(RunModal(second, [&] { Control<ui::CCommonButton>(&second, 2)->click(); }),
              kIdCancel);
    MsgBoxDlg escaped;
    Prepare(escaped);
    EXPECT_EQ(RunModal(escaped, [&] { PressKey(escaped.focusWidget(), Qt::Key_Escape); }),
              kIdCancel);
}

INSTANTIATE_TEST_SUITE_P(Forms, MsgBoxFormTest, ::testing::ValuesIn(kForms));

struct EnterCase {
    const char* name;
    int type;
    int mode;
    unsigned focus; // control id; 0 leaves the focus where the dialog put it
    int answer;
};

void PrintTo(const EnterCase& enter, std::ostream* out) {
    *out << enter.name;
}

const EnterCase kEnterCases[] = {
    {"two buttons, first focused", MsgBoxDlg::kTypeTwoButtons, MsgBoxDlg::kModePlain, 0, kIdOk},
    {"two buttons, second focused", MsgBoxDlg::kTypeTwoButtons, MsgBoxDlg::kModePlain, 2,
     kIdCancel},
    {"yes/no, no focused", MsgBoxDlg::kTypeTwoButtons, MsgBoxDlg::kModeYesNo, 2, kIdCancel},
    {"yes/no, yes focused", MsgBoxDlg::kTypeTwoButtons, MsgBoxDlg::kModeYesNo, 1, kIdOk},
    {"print choice, radio focused", MsgBoxDlg::kTypeTwoButtons, MsgBoxDlg::kModePrintChoice,
     MsgBoxDlg::kIdRadioFocused, kIdOk},
    {"one OK", MsgBoxDlg::kTypeOneOk, MsgBoxDlg::kModePlain, 0, kIdCancel},
    // With the only button shown, Enter cannot give an answer it does not
    // offer, wherever the focus is.
    {"one button, focus on the message", MsgBoxDlg::kTypeOneButton, MsgBoxDlg::kModePlain,
     MsgBoxDlg::kIdMessage, kIdCancel},
};

class MsgBoxEnterTest : public ::testing::TestWithParam<EnterCase> {
protected:
    MsgBoxEnterTest() : m_language(dialogtest::kNoLanguage) {}
    dialogtest::LanguageScope m_language;
};

TEST_P(MsgBoxEnterTest, EnterAnswersByTheFocus) {
    const EnterCase& enter = GetParam();
    for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
        MsgBoxDlg dialog("Heading", "Message", enter.type);
        dialog.SetMode(enter.mode);
        const int answer = RunModal(dialog, [&] {
            QWidget* target = dialog.focusWidget();
            if (enter.focus != 0) {
                target = Control<QWidget>(&dialog, enter.focus);
                target->setFocus();
            }
            ASSERT_NE(target, nullptr);
            PressKey(target, key);
        });
        EXPECT_EQ(answer, enter.answer) << "key " << key;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MsgBoxEnterTest, ::testing::ValuesIn(kEnterCases));

class MsgBoxDlgTest : public ::testing::Test {
protected:
    MsgBoxDlgTest() : m_language(dialogtest::kNoLanguage) {}
    dialogtest::LanguageScope m_language;
};

TEST_F(MsgBoxDlgTest, ArrowsMoveBetweenYesAndNo) {
    MsgBoxDlg dialog("Delete?", "The recording is deleted.", MsgBoxDlg::kTypeTwoButtons);
    dialog.SetMode(MsgBoxDlg::kModeYesNo);
    EXPECT_EQ(RunModal(dialog,
                       [&] {
                           auto* yes = Control<QWidget>(&dialog, 1);
                           auto* no = Control<QWidget>(&dialog, 2);
                           EXPECT_EQ(dialog.focusWidget(), yes);
                           PressKey(yes, Qt::Key_Right);
                           EXPECT_EQ(dialog.focusWidget(), no);
                           PressKey(no, Qt::Key_Right);
                           EXPECT_EQ(dialog.focusWidget(), no);
                           PressKey(no, Qt::Key_Left);
                           EXPECT_EQ(dialog.focusWidget(), yes);
                           PressKey(yes, Qt::Key_Left);
                           EXPECT_EQ(dialog.focusWidget(), yes);
                           PressKey(yes, Qt::Key_Right);
                           PressKey(no, Qt::Key_Return);
                       }),
              kIdCancel);
}

TEST_F(MsgBoxDlgTest, PrintChoiceFollowsTheRadioButtons) {
    MsgBoxDlg untouched("Print", "Which recordings?", MsgBoxDlg::kTypeTwoButtons);
    untouched.SetMode(MsgBoxDlg::kModePrintChoice);
    EXPECT_EQ(
        RunModal(untouched,
                 [&] {
                     EXPECT_TRUE(
                         Control<QRadioButton>(&untouched, MsgBoxDlg::kIdRadioMarked)->isChecked());
                     Control<QWidget>(&untouched, 1)->setFocus();
                     PressKey(untouched.focusWidget(), Qt::Key_Return);
                 }),
        kIdOk);
    EXPECT_EQ(untouched.GetChoice(), MsgBoxDlg::kChoiceMarked);

    MsgBoxDlg changed("Print", "Which recordings?", MsgBoxDlg::kTypeTwoButtons);
    changed.SetMode(MsgBoxDlg::kModePrintChoice);
    RunModal(changed, [&] {
        auto* marked = Control<QRadioButton>(&changed, MsgBoxDlg::kIdRadioMarked);
        auto* focused = Control<QRadioButton>(&changed, MsgBoxDlg::kIdRadioFocused);
        focused->click();
        EXPECT_FALSE(marked->isChecked());
        EXPECT_EQ(changed.GetChoice(), MsgBoxDlg::kChoiceFocused);
        marked->click();
        EXPECT_FALSE(focused->isChecked());
        EXPECT_EQ(changed.GetChoice(), MsgBoxDlg::kChoiceMarked);
        focused->click();
        Control<ui::CCommonButton>(&changed, 1)->click();
    });
    EXPECT_EQ(changed.GetChoice(), MsgBoxDlg::kChoiceFocused);
}

TEST_F(MsgBoxDlgTest, YesNoEmphasisesNo) {
    MsgBoxDlg dialog("Heading", "Message", MsgBoxDlg::kTypeTwoButtons);
    dialog.SetMode(MsgBoxDlg::kModeYesNo);
    RunModal(dialog, [&] {
        auto* yes = Control<ui::CCommonButton>(&dialog, 1);
        auto* no = Control<ui::CCommonButton>(&dialog, 2);
        EXPECT_EQ(yes->m_crFace, QColor(Qt::white));
        EXPECT_EQ(no->m_crFace, QColor(0, 49, 83));
        EXPECT_EQ(no->m_crText, QColor(Qt::white));
        dialog.reject();
    });
}

TEST(MsgBoxDlgLanguageTest, TemplateTextsComeFromTheLanguage) {
    dialogtest::LanguageScope english(dialogtest::kEnglish);
    MsgBoxDlg dialog("Print", "Which recordings?", MsgBoxDlg::kTypeTwoButtons);
    dialog.SetMode(MsgBoxDlg::kModePrintChoice);
    RunModal(dialog, [&] {
        EXPECT_EQ(Control<QWidget>(&dialog, 2)->property("text").toString(), "Cancel");
        EXPECT_EQ(Control<QRadioButton>(&dialog, MsgBoxDlg::kIdRadioFocused)->text(),
                  "The recording that has the focus in the list");
        dialog.reject();
    });
}

// Every line of a long message lies inside the dialog, above the buttons.
TEST(MsgBoxDlgSizeTest, LongMessagesAreNeverCutOff) {
    for (app::LanguageId language : {dialogtest::kEnglish, dialogtest::kJapanese}) {
        dialogtest::LanguageScope scope(language);
        const std::string english =
            "The recordings could not be copied from the device. Check that the cable is "
            "plugged in firmly, that the device is switched on and that its battery is not "
            "empty.\nThen try again.\nIf it still fails, note the code RX001 and call the "
            "service.\nA fourth line.\nA fifth line that is a little longer than the others.";
        const std::string japanese =
            "機器から心電図データをコピーできませんでした。ケーブルがしっかり接続されているか、"
            "機器の電源が入っているか、電池が切れていないかを確認してください。\n"
            "もう一度お試しください。\nそれでも失敗する場合は、コード RX001 "
            "を控えてサービス窓口にご連絡ください。";
        for (const std::string& message : {english, japanese}) {
            MsgBoxDlg dialog("The recordings could not be copied", message,
                             MsgBoxDlg::kTypeTwoButtons);
            RunModal(dialog, [&] {
                auto* text = Control<QLabel>(&dialog, MsgBoxDlg::kIdMessage);
                auto* button = Control<QWidget>(&dialog, 2);
                EXPECT_GE(text->height(), text->heightForWidth(text->width()));
                EXPECT_GT(text->heightForWidth(text->width()), 4 * text->fontMetrics().height());
                const QRect onDialog(text->mapTo(&dialog, QPoint(0, 0)), text->size());
                EXPECT_TRUE(dialog.rect().contains(onDialog));
                EXPECT_LE(onDialog.bottom(), button->geometry().top());
                EXPECT_TRUE(dialog.rect().contains(button->geometry()));
                dialog.reject();
            });
        }
    }
}

// A message taller than the screen scrolls: the dialog and its buttons stay
// on the screen and the last line can still be reached.
TEST(MsgBoxDlgSizeTest, MessagesTallerThanTheScreenScroll) {
    dialogtest::LanguageScope scope(dialogtest::kEnglish);
    std::string message;
    for (int line = 1; line <= 300; ++line) {
        message += "Line " + std::to_string(line) + "\n";
    }
    message += "The last line";
    MsgBoxDlg dialog("Heading", message, MsgBoxDlg::kTypeTwoButtons);
    RunModal(dialog, [&] {
        const QRect screen = dialog.screen()->availableGeometry();
        EXPECT_LE(dialog.frameGeometry().height(), screen.height());
        auto* area = dialog.findChild<QScrollArea*>();
        ASSERT_NE(area, nullptr);
        EXPECT_GT(area->verticalScrollBar()->maximum(), 0);
        auto* text = Control<QLabel>(&dialog, MsgBoxDlg::kIdMessage);
        EXPECT_GE(text->height(), text->heightForWidth(text->width()));
        EXPECT_TRUE(dialog.rect().contains(Control<QWidget>(&dialog, 2)->geometry()));
        dialog.reject();
    });
}

} // namespace
