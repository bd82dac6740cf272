// File > Export from the main window: enabled for a selection, and the
// selected records written where the person points the folder chooser.
#include "support/FolderDialog.h"
#include "ui/main/MainWindowFixture.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <filesystem>

namespace {

using testsupport::MainWindowTest;

class ExportCommandTest : public MainWindowTest {
protected:
    ExportCommandTest() {
        AddRecord("d2401010000_0001.ecg");
        AddRecord("d2401020000_0002.ecg");
        AddRecord("d2401030000_0003.ecg");
    }
    testsupport::TempFolder out;
};

TEST_F(ExportCommandTest, TheFileMenuOffersBothFormatsForASelection) {
    Open();
    QMenu* file = frame->menuBar()->actions().front()->menu();
    std::vector<std::string> items;
    for (QAction* action : file->actions())
        items.push_back(action->text().toStdString());
    EXPECT_NE(std::find(items.begin(), items.end(), "Export as &EDF+..."), items.end());
    EXPECT_NE(std::find(items.begin(), items.end(), "Export as &CSV..."), items.end());
    Select({});
    EXPECT_FALSE(frame->IsCommandEnabled(app::kCmdExportEdf));
    Select({1});
    EXPECT_TRUE(frame->IsCommandEnabled(app::kCmdExportEdf));
    EXPECT_TRUE(frame->IsCommandEnabled(app::kCmdExportCsv));
}

TEST_F(ExportCommandTest, TheSelectedRecordsGoToTheChosenFolder) {
    Open();
    Select({0, 2});
    testsupport::ChooseFolderWhenAsked(QString::fromStdString(out.Path()));
    frame->OnCommand(app::kCmdExportEdf);
    std::vector<std::string> written;
    for (const auto& entry : std::filesystem::directory_iterator(out.Path()))
        written.push_back(entry.path().filename().string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"d2401010000_0001.edf", "d2401030000_0003.edf"}));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].heading, "Export");
    EXPECT_EQ(prompts.shown[0].text.rfind("Files written to " + out.Path() + ": 2\n", 0), 0u);
    EXPECT_TRUE(frame->isEnabled());
}

} // namespace

