// A wave window opened from the main window: deleting its record there
// takes the record off the main list too.
#include "ui/main/MainWindowFixture.h"
#include "ui/wave/RecordWindows.h"
#include "ui/wave/WaveFrame.h"

namespace {

using testsupport::MainWindowTest;

class WaveMainListTest : public MainWindowTest {};

TEST_F(WaveMainListTest, DeletingFromTheWaveWindowEmptiesTheMainList) {
    framework.GetOptions().maxWaveDialog = 30;
    AddRecord("d2401010000_0001.ecg");
    AddRecord("d2401020000_0002.ecg");
    ui::CMainFrame& window = Open();
    ASSERT_EQ(ListedNames().size(), 2u);
    records::CECGContentsData* record = List().Model().Records().back().get();
    const std::string name = record->GetFileName();
    ASSERT_EQ(ui::OpenRecordWindow(framework, &window, *record), 1);
    ui::CWaveFrame* wave = ui::WaveFrameOf(framework.FindRecordWindow(*record));
    ASSERT_NE(wave, nullptr);
    wave->SetPrompts(&prompts);

    prompts.answers = {platform::kIdOk};
    wave->OnCommand(ui::wave::kCmdDelete);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(framework.GetRecordWindowCount(), 0);
    const std::vector<std::string> names = ListedNames();
    ASSERT_EQ(names.size(), 1u);
    EXPECT_NE(names.front(), name);
}

} // namespace
