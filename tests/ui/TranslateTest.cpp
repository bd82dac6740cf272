#include "ui/Translate.h"
#include "support/QtApplication.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using testsupport::ScopedEnv;
using testsupport::TempFolder;

namespace {

using testsupport::Application;

const char kEnglish[] = "\xEF\xBB\xBF[Info]\nLanguage=English\nLanguageID=$0409\n"
                        "[Font]\nName=DejaVu Sans\nSize=13\n"
                        "[STRINGTABLE]\nID202=Print the recordings\\nPrint\n"
                        "[DLG_212]\nCAPTION=Options\nID1189=Data folder:\nID1191=Folder\n"
                        "ID1186=Keep\\tit\n"
                        "[DLG_COMMON_ID]\nID1=OK\nID2=Cancel\n"
                        "[MENU]\nPID202=&File\nID202=&Print\nID192=&Delete\n"
                        "PID32871=&View\nID32871=&Small\n"
                        "PID32897=S&ensitivity\nID32897=20 mm/mV\n";
const char kArabic[] = "[Info]\nLanguage=Arabic\nLanguageID=$0401\n";

// One language module with an English and an Arabic file, none current.
class TranslateTest : public ::testing::Test {
protected:
    TranslateTest() : m_config("XDG_CONFIG_HOME", m_folder.File("config")) {
        Application();
        m_folder.Write("RHYVENU.lng", kEnglish);
        m_folder.Write("RHYVARA.lng", kArabic);
        m_languages.InitLanguages(app::CLanguages::kFirstCommandId, app::CLanguages::kMaxLanguages);
        m_languages.ScanLanguageFolder(m_folder.Path(), app::CLanguages::kFilePattern, "");
    }

    TempFolder m_folder;
    ScopedEnv m_config;
    app::CLanguages m_languages;
};

template <typename Widget> Widget* Control(QWidget* parent, unsigned id, const char* text) {
    auto* widget = new Widget(text, parent);
    ui::SetControlId(widget, id);
    return widget;
}

TEST_F(TranslateTest, DialogTakesControlTextsCaptionAndFont) {
    QDialog dialog;
    dialog.setWindowTitle("template");
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = Control<QLabel>(&dialog, 1189, "label");
    auto* group = Control<QGroupBox>(&dialog, 1191, "group");
    auto* check = Control<QCheckBox>(group, 1186, "check");
    auto* ok = Control<QPushButton>(&dialog, 1, "template OK");
    auto* other = Control<QLabel>(&dialog, 1300, "kept");
    auto* plain = new QLabel("no id", &dialog);
    for (QWidget* widget :
         {static_cast<QWidget*>(label), static_cast<QWidget*>(group), static_cast<QWidget*>(ok),
          static_cast<QWidget*>(other), static_cast<QWidget*>(plain)})
        layout->addWidget(widget);

    ui::TranslateDialog(&dialog, 212, m_languages); // no language: nothing changes
    EXPECT_EQ(label->text(), "label");
    EXPECT_EQ(dialog.windowTitle(), "template");

    m_languages.SelectLanguageId(0x0409);
    ui::TranslateDialog(&dialog, 212, m_languages);
    EXPECT_EQ(dialog.windowTitle(), "Options");
    EXPECT_EQ(label->text(), "Data folder:");
    EXPECT_EQ(group->title(), "Folder");
    EXPECT_EQ(check->text(), "Keep\tit");
    EXPECT_EQ(ok->text(), "OK"); // from the common section
    EXPECT_EQ(other->text(), "kept");
    EXPECT_EQ(plain->text(), "no id");
    EXPECT_EQ(label->font().family(), "DejaVu Sans");
    EXPECT_EQ(label->font().pointSize(), 13);
    EXPECT_EQ(dialog.font().family(), "DejaVu Sans");
    EXPECT_EQ(dialog.layoutDirection(), Qt::LeftToRight);
}

TEST_F(TranslateTest, MenuItemsKeepAcceleratorsAndPopupsTakeTheirNames) {
    QMenuBar bar;
    QMenu* file = bar.addMenu("&File template");
    ui::SetControlId(file->addAction("&Print...\tCtrl+P"), 202);
    file->addSeparator();
    ui::SetControlId(file->addAction("&Delete file...\tDel"), 192);
    QAction* unknown = file->addAction("unknown");
    ui::SetControlId(unknown, 4242);
    QMenu* view = bar.addMenu("&View template");
    ui::SetControlId(view->addAction("&Small...\tCtrl+1"), 32871);
    QMenu* sensitivity = view->addMenu("&Sensitivity setting");
    ui::SetControlId(sensitivity->addAction("20mm/mV"), 32897);

    m_languages.SelectLanguageId(0x0409);
    ui::TranslateMenu(&bar, m_languages);
    EXPECT_EQ(file->title(), "&File");
    EXPECT_EQ(file->actions()[0]->text(), "&Print\tCtrl+P");
    EXPECT_EQ(file->actions()[2]->text(), "&Delete\tDel");
    EXPECT_EQ(unknown->text(), "unknown");
    EXPECT_EQ(view->title(), "&View");
    EXPECT_EQ(view->actions()[0]->text(), "&Small\tCtrl+1");
    EXPECT_EQ(sensitivity->title(), "S&ensitivity");
    EXPECT_EQ(sensitivity->actions()[0]->text(), "20 mm/mV");

    // A context menu is translated item by item.
    QMenu context;
    QAction* print = context.addAction("&Print");
    ui::SetControlId(print, 202);
    ui::TranslateMenu(&context, m_languages);
    EXPECT_EQ(print->text(), "&Print");
}

TEST_F(TranslateTest, RightToLeftMirrorsControlsPlacedByHand) {
    QDialog dialog;
    dialog.resize(300, 200);
    auto* label = Control<QLabel>(&dialog, 1189, "label");
    label->setGeometry(10, 20, 50, 16);
    auto* combo = new QComboBox(&dialog);
    combo->setGeometry(100, 60, 80, 24);

    m_languages.SelectLanguageId(0x0401);
    ui::TranslateDialog(&dialog, 212, m_languages);
    EXPECT_EQ(dialog.layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(label->layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(label->geometry(), QRect(240, 20, 50, 16));
    EXPECT_EQ(combo->geometry(), QRect(120, 60, 80, 24));

    m_languages.SelectLanguageId(0x0409);
    ui::TranslateDialog(&dialog, 212, m_languages);
    EXPECT_EQ(label->layoutDirection(), Qt::LeftToRight);
    EXPECT_EQ(label->geometry(), QRect(10, 20, 50, 16));
}

TEST_F(TranslateTest, TooltipsAndPromptsFromCommandIds) {
    QWidget bar;
    auto* print = new QAction("Print", &bar);
    ui::SetControlId(print, 202);
    auto* none = new QAction("None", &bar);
    none->setToolTip("own tip");
    ui::SetControlId(none, 4242);
    bar.addAction(print);
    bar.addAction(none);

    ui::ApplyCommandTexts(&bar, m_languages);
    EXPECT_EQ(print->toolTip(), "Print");
    EXPECT_EQ(print->statusTip(), "Print the selected recordings");
    m_languages.SelectLanguageId(0x0409);
    ui::ApplyCommandTexts(&bar, m_languages);
    EXPECT_EQ(print->statusTip(), "Print the recordings");
    EXPECT_FALSE(ui::TooltipText(none, m_languages));
    EXPECT_EQ(none->toolTip(), "own tip");
}

TEST_F(TranslateTest, LanguageMenuChecksTheCurrentLanguage) {
    m_languages.SelectLanguageId(0x0409);
    QMenu menu;
    ui::BuildLanguageMenu(&menu, m_languages);
    ASSERT_EQ(menu.actions().size(), 2);
    EXPECT_EQ(menu.actions()[0]->text(), "Arabic");
    EXPECT_EQ(ui::ControlId(menu.actions()[0]), 32000u);
    EXPECT_FALSE(menu.actions()[0]->isChecked());
    EXPECT_TRUE(menu.actions()[1]->isChecked());
}

} // namespace
