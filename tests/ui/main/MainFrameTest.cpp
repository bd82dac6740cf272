// The main window's frame and header: command enabling over real
// selections and marks, the status bar, the selection count and the
// select-all toggle, the context menus, the open-window refusal, the
// language switch.
#include "app/StatusTexts.h"
#include "ui/SinoraView.h"
#include "ui/Translate.h"
#include "ui/main/MainWindowFixture.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include <filesystem>

namespace {

using testsupport::MainWindowTest;

TEST_F(MainWindowTest, CommandsFollowSelectionAndMarks) {
    AddRecord("d2401010000_0001.ecg");
    AddRecord("d2401020000_0002.ecg");
    Open();
    // After a refill the first record is selected.
    EXPECT_TRUE(frame->Action(app::kCmdOpen)->isEnabled());
    EXPECT_TRUE(frame->Action(app::kCmdMemo)->isEnabled());
    EXPECT_TRUE(frame->Action(app::kCmdPrint)->isEnabled());
    EXPECT_TRUE(frame->Action(app::kCmdDelete)->isEnabled());

    Select({0, 1});
    EXPECT_FALSE(frame->Action(app::kCmdMemo)->isEnabled());
    EXPECT_TRUE(frame->Action(app::kCmdDelete)->isEnabled());

    Select({});
    for (unsigned id :
         {app::kCmdOpen, app::kCmdMemo, app::kCmdPrint, app::kCmdPrintButton, app::kCmdDelete})
        EXPECT_FALSE(frame->Action(id)->isEnabled()) << id;
    EXPECT_TRUE(frame->Action(app::kCmdImportSd)->isEnabled());

    // A mark alone is enough to print.
    List().Model().Record(1)->ToggleChecked();
    emit List().MarksChanged();
    EXPECT_TRUE(frame->Action(app::kCmdPrint)->isEnabled());
    EXPECT_TRUE(frame->Action(app::kCmdPrintButton)->isEnabled());
}

TEST_F(MainWindowTest, StatusBarShowsTheOneSelectedRecord) {
    AddRecord("d2401010000_0001.ecg", 1704412800, 0, 72);
    AddRecord("d2401020000_0002.ecg", 1704412800, 0x0040, 0xFFFF);
    Open();
    // The unknown heart rate sorts first.
    Select({0});
    const auto expected = app::StatusPaneTexts(*List().Model().Record(0));
    for (int pane = 0; pane < 4; ++pane)
        EXPECT_EQ(frame->StatusText(pane).toStdString(), expected[pane]) << pane;
    EXPECT_EQ(frame->StatusText(1), "Model: VTQ-7700S");
    EXPECT_EQ(frame->StatusText(2), "--");

    Select({0, 1});
    for (int pane = 0; pane < 4; ++pane)
        EXPECT_TRUE(frame->StatusText(pane).isEmpty()) << pane;
}

TEST_F(MainWindowTest, SelectAllToggleAndCount) {
    for (int i = 0; i < 5; ++i)
        AddRecord("d240101000" + std::to_string(i) + "_0001.ecg");
    Open();
    ui::CSinoraView& view = frame->View();
    EXPECT_EQ(view.CountLabel().text(), "1 selected");
    EXPECT_EQ(view.SelectAllButton().text(), "Select all");

    view.SelectAllButton().click();
    EXPECT_EQ(List().SelectedItemCount(), 5);
    EXPECT_EQ(framework.GetSelectedCount(), 5);
    EXPECT_EQ(view.CountLabel().text(), "5 selected");
    EXPECT_EQ(view.SelectAllButton().text(), "Clear selection");
    EXPECT_TRUE(view.DeleteButton().isEnabled());

    view.SelectAllButton().click();
    EXPECT_EQ(List().SelectedItemCount(), 0);
    EXPECT_EQ(view.CountLabel().text(), "0 selected");
    EXPECT_EQ(view.SelectAllButton().text(), "Select all");
    EXPECT_FALSE(view.DeleteButton().isEnabled());
}

TEST_F(MainWindowTest, HeaderAndListKeepTheirPlaceWhenResized) {
    AddRecord("d2401010000_0001.ecg");
    Open({700, 500});
    frame->resize(1200, 900);
    QApplication::processEvents();
    EXPECT_EQ(List().geometry().topLeft(), QPoint(24, 48));
    EXPECT_EQ(List().geometry().right() + 1, frame->View().width());
    // The minimum size holds.
    frame->resize(300, 200);
    QApplication::processEvents();
    EXPECT_GE(frame->width(), 640);
    EXPECT_GE(frame->height(), 480);
}

TEST_F(MainWindowTest, ContextMenuGrowsInDeveloperMode) {
    AddRecord("d2401010000_0001.ecg");
    Open();
    auto ids = [](QMenu* menu) {
        std::vector<unsigned> found;
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                found.push_back(ui::ControlId(action));
        return found;
    };
    std::unique_ptr<QMenu> plain(frame->BuildContextMenu());
    EXPECT_EQ(ids(plain.get()), (std::vector<unsigned>{app::kCmdOpen, app::kCmdMemo, app::kCmdPrint,
                                                       app::kCmdDelete}));
    framework.GetOptions().developerMode = 1;
    std::unique_ptr<QMenu> developer(frame->BuildContextMenu());
    EXPECT_EQ(ids(developer.get()).size(), 8u);
    EXPECT_TRUE(frame->Action(app::kCmdSortAscending)->isEnabled());
    EXPECT_FALSE(frame->Action(app::kCmdConvertEcg)->isEnabled());
    EXPECT_FALSE(frame->Action(app::kCmdConvertText)->isEnabled());
}

TEST_F(MainWindowTest, DeleteRefusesARecordOpenInAWaveWindow) {
    AddRecord("d2401010000_0001.ecg");
    AddRecord("d2401020000_0002.ecg");
    AddRecord("d2401030000_0003.ecg");
    Open();
    Select({0, 1, 2});
    QWidget waveWindow;
    waveWindow.show();
    const records::CECGContentsData& third = *framework.GetSelected(2);
    ASSERT_TRUE(framework.RegisterWindow(app::CECGFramework::RecordWindowKey(third), &waveWindow));

    frame->OnCommand(app::kCmdDelete);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text,
              "This recording is open in a wave window. Close that window first.");
    EXPECT_EQ(List().RecordCount(), 3);
    EXPECT_FALSE(framework.IsBusy());
    EXPECT_TRUE(frame->isEnabled());

    // Once that window is gone the same command asks, and deletes on yes.
    framework.UnregisterWindow(app::CECGFramework::RecordWindowKey(third));
    prompts.answers.push_back(platform::kIdOk);
    frame->OnCommand(app::kCmdDelete);
    EXPECT_EQ(List().RecordCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(data.File("d2401010000_0001.ecg")));
}

TEST_F(MainWindowTest, LanguageSwitchTranslatesTheWindow) {
    AddRecord("d2401010000_0001.ecg");
    Open();
    EXPECT_EQ(frame->menuBar()->actions().front()->text(), "&File");
    unsigned japanese = 0;
    for (const app::LanguageMenuItem& item : app::Languages().MenuItems())
        if (item.text.find("日本語") != std::string::npos)
            japanese = item.commandId;
    ASSERT_NE(japanese, 0u);

    frame->OnCommand(japanese);
    EXPECT_EQ(frame->menuBar()->actions().front()->text(), "ファイル(&F)");
    EXPECT_EQ(frame->View().SelectAllButton().text(), "すべて選択");
    EXPECT_EQ(frame->View().CountLabel().text(), "1件選択中");
    EXPECT_EQ(frame->Action(app::kCmdOpen)->iconText(), "開く");
    EXPECT_EQ(frame->StatusText(1), "機種：VTQ-7700S");
    // The choice is kept for the next start.
    EXPECT_TRUE(std::filesystem::exists(home.File("config/Torvane/Rhythmora.conf")));
}

TEST_F(MainWindowTest, OpenCommandOpensAWaveWindowThatBlocksDelete) {
    AddRecord("d2401010000_0001.ecg");
    AddRecord("d2401020000_0002.ecg");
    Open();
    Select({1});
    frame->OnCommand(app::kCmdOpen);
    ASSERT_EQ(framework.GetRecordWindowCount(), 1);
    EXPECT_NE(framework.FindRecordWindow(*List().Model().Record(1)), nullptr);
    // Opening it again raises the same window.
    frame->OnCommand(app::kCmdOpen);
    EXPECT_EQ(framework.GetRecordWindowCount(), 1);

    frame->OnCommand(app::kCmdDelete);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text,
              "This recording is open in a wave window. Close that window first.");
    EXPECT_TRUE(std::filesystem::exists(data.File("d2401010000_0001.ecg")));
    // The busy frame reaches the wave window too, and lets it go again.
    EXPECT_TRUE(frame->isEnabled());
}

TEST_F(MainWindowTest, MemoRefusesARecordWhoseFileWent) {
    AddRecord("d2401010000_0001.ecg");
    Open();
    std::filesystem::remove(data.File("d2401010000_0001.ecg"));
    frame->OnCommand(app::kCmdMemo);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "The recording file was not found.");
    EXPECT_EQ(prompts.shown[0].icon, platform::MessageIcon::Hand);
}

} // namespace
