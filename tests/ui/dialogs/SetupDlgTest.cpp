// The option settings dialog: the folder it opens with, what the browse
// button puts in, that OK stores an accepted folder and that a refusal
// explains itself and keeps the dialog open, and that Cancel changes nothing.
#include "ui/dialogs/SetupDlg.h"

#include "DialogTestSupport.h"
#include "app/ECGOptions.h"
#include "platform/UserPrompts.h"
#include "support/ScriptedPrompts.h"
#include "support/TempFolder.h"
#include "ui/dialogs/CommonButton.h"

#include <QLineEdit>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using dialogtest::Control;
using dialogtest::PressKey;
using dialogtest::RunModal;
using platform::kIdCancel;
using platform::kIdOk;
using ui::CSetupDlg;

// A data folder and a second folder to move to, in a fresh temporary folder,
// and a chooser that answers from a list and remembers where it started.
class SetupDlgTest : public ::testing::Test {
protected:
    SetupDlgTest() : m_language(dialogtest::kNoLanguage) {
        m_strOld = std::filesystem::canonical(m_folder.Path()).string() + "/old/";
        m_strNew = std::filesystem::canonical(m_folder.Path()).string() + "/new";
        std::filesystem::create_directories(m_strOld);
        std::filesystem::create_directories(m_strNew);
        m_options.dirHdd = m_strOld;
        m_dialog.SetPrompts(&m_prompts);
        m_dialog.SetFolderChooser([this](QWidget* owner, const QString& start) {
            EXPECT_EQ(owner, &m_dialog);
            m_starts.push_back(start.toStdString());
            if (m_answers.empty()) {
                return QString();
            }
            const QString answer = QString::fromStdString(m_answers.front());
            m_answers.erase(m_answers.begin());
            return answer;
        });
    }

    std::string Shown() {
        return Control<QLineEdit>(&m_dialog, CSetupDlg::kIdFolderEdit)->text().toStdString();
    }
    void Browse(const std::string& answer) {
        m_answers.push_back(answer);
        Control<ui::CCommonButton>(&m_dialog, CSetupDlg::kIdBrowse)->click();
    }
    void Click(unsigned id) { Control<ui::CCommonButton>(&m_dialog, id)->click(); }

    dialogtest::LanguageScope m_language;
    testsupport::TempFolder m_folder;
    std::string m_strOld, m_strNew;
    app::CECGOptions m_options;
    testsupport::ScriptedPrompts m_prompts;
    CSetupDlg m_dialog{m_options};
    std::vector<std::string> m_answers;
    std::vector<std::string> m_starts;
};

TEST_F(SetupDlgTest, BrowseThenOkStoresTheChosenFolderWithItsSlash) {
    const int answer = RunModal(m_dialog, [&] {
        EXPECT_EQ(Shown(), m_strOld);
        Browse(m_strNew);
        EXPECT_EQ(Shown(), m_strNew + "/");
        Click(kIdOk);
    });
    EXPECT_EQ(answer, kIdOk);
    EXPECT_EQ(m_starts, std::vector<std::string>{m_strOld});
    EXPECT_EQ(m_options.dirHdd, m_strNew + "/");
    EXPECT_TRUE(m_prompts.shown.empty());
}

TEST_F(SetupDlgTest, RefusalsExplainAndKeepTheDialogOpen) {
    struct Refused {
        std::string folder;
        std::string message;
    };
    const std::vector<Refused> refused = {
        {"/usr/share/", "Records cannot be kept in this folder. Choose another place."},
        {m_strNew + "/missing", "HDD Error"},
        {m_strNew + "/" + std::string(220, 'x'), "ECGData Max Path Error"},
    };
    const int answer = RunModal(m_dialog, [&] {
        for (const Refused& folder : refused) {
            m_prompts.shown.clear();
            Browse(folder.folder);
            Click(kIdOk);
            EXPECT_TRUE(m_dialog.isVisible()) << folder.folder;
            ASSERT_EQ(m_prompts.shown.size(), 1U) << folder.folder;
            EXPECT_EQ(m_prompts.shown[0].text, folder.message);
            EXPECT_EQ(m_prompts.shown[0].icon, platform::MessageIcon::Exclamation);
            EXPECT_EQ(m_options.dirHdd, m_strOld);
        }
        // After a refusal the person can still choose a good folder.
        Browse(m_strNew + "/");
        Click(kIdOk);
    });
    EXPECT_EQ(answer, kIdOk);
    EXPECT_EQ(m_options.dirHdd, m_strNew + "/");
}

TEST_F(SetupDlgTest, CancelAndEscapeKeepTheFolderEvenAfterBrowsing) {
    for (bool escape : {false, true}) {
        CSetupDlg dialog(m_options);
        dialog.SetPrompts(&m_prompts);
        dialog.SetFolderChooser(
            [&](QWidget*, const QString&) { return QString::fromStdString(m_strNew); });
        const int answer = RunModal(dialog, [&] {
            Control<ui::CCommonButton>(&dialog, CSetupDlg::kIdBrowse)->click();
            if (escape) {
                PressKey(&dialog, Qt::Key_Escape);
            } else {
                Control<ui::CCommonButton>(&dialog, kIdCancel)->click();
            }
        });
        EXPECT_EQ(answer, kIdCancel) << escape;
        EXPECT_EQ(m_options.dirHdd, m_strOld) << escape;
    }
    EXPECT_TRUE(m_prompts.shown.empty());
}

TEST_F(SetupDlgTest, AClosedBrowserLeavesTheFolderAndEnterOnOkTakesIt) {
    const int answer = RunModal(m_dialog, [&] {
        Browse("");
        EXPECT_EQ(Shown(), m_strOld);
        auto* ok = Control<ui::CCommonButton>(&m_dialog, kIdOk);
        ok->setFocus();
        PressKey(ok, Qt::Key_Return);
    });
    EXPECT_EQ(answer, kIdOk);
    EXPECT_EQ(m_options.dirHdd, m_strOld);
}

} // namespace
