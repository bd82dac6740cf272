// File > Export from a wave window: the window's own record, written where
// the person points the folder chooser, inside the busy frame.
#include "support/FolderDialog.h"
#include "ui/wave/WaveFixture.h"

#include "app/MainCommands.h"

#include <filesystem>

namespace {

using testsupport::WaveWindowTest;

class WaveExportTest : public WaveWindowTest {
protected:
    testsupport::TempFolder out;
};

TEST_F(WaveExportTest, TheWindowsRecordGoesToTheChosenFolder) {
    ui::CWaveFrame& frame = OpenAlone(AddRecord("d2401010000_0001.ecg"));
    bool busyDuringExport = false;
    testsupport::ChooseFolderWhenAsked(QString::fromStdString(out.Path()));
    QTimer::singleShot(0, [&] { busyDuringExport = framework.IsBusy(); });
    frame.OnCommand(app::kCmdExportCsv);
    EXPECT_TRUE(busyDuringExport);
    EXPECT_FALSE(framework.IsBusy());
    const std::string csv = testsupport::ReadFile(out.File("d2401010000_0001.csv"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1251);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Files written to " + out.Path() +
                                                   ": 1\nd2401010000_0001.csv"});
}

} // namespace
