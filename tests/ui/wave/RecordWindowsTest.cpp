// Opening wave windows: one window per record, the limit of open windows,
// where new windows go, and the registry the framework keeps of them.
#include "ui/wave/WaveFixture.h"

#include "platform/ResourceText.h"

#include <QStyle>

namespace {

using testsupport::WaveWindowTest;

class RecordWindowsTest : public WaveWindowTest {};

TEST_F(RecordWindowsTest, OpeningAnOpenRecordAgainRaisesItsWindow) {
    auto& record = AddRecord("d2401010000_0001.ecg");
    Select({&record});
    ASSERT_EQ(ui::OpenRecordWindow(framework, nullptr, record), 1);
    ui::CWaveFrame* first = Frame(record);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->windowTitle().toStdString(), app::CECGFramework::RecordWindowKey(record));
    EXPECT_EQ(first->parent(), nullptr);

    first->showMinimized();
    EXPECT_EQ(ui::OpenRecordWindow(framework, nullptr, record), 1);
    EXPECT_EQ(framework.GetRecordWindowCount(), 1);
    EXPECT_EQ(Frame(record), first);
    EXPECT_FALSE(first->isMinimized());
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(RecordWindowsTest, MoreSelectedRecordsThanTheLimitOpenNothing) {
    Select(AddRecords(31));
    ui::OpenSelectedRecords(framework, nullptr);
    EXPECT_EQ(framework.GetRecordWindowCount(), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{platform::LoadText(10020)});
}

TEST_F(RecordWindowsTest, OpeningStopsWhenTheLimitIsReached) {
    Select(AddRecords(29));
    ui::OpenSelectedRecords(framework, nullptr);
    ASSERT_EQ(framework.GetRecordWindowCount(), 29);
    ASSERT_TRUE(prompts.shown.empty());

    const auto more = AddRecords(3, 30);
    Select(more);
    ui::OpenSelectedRecords(framework, nullptr);
    EXPECT_EQ(framework.GetRecordWindowCount(), 30);
    EXPECT_NE(Frame(*more[0]), nullptr);
    EXPECT_EQ(Frame(*more[1]), nullptr);
    EXPECT_EQ(Frame(*more[2]), nullptr);
    EXPECT_EQ(Messages(), std::vector<std::string>{platform::LoadText(10020)});
}

TEST_F(RecordWindowsTest, ARecordOpenedAloneFillsTheScreen) {
    auto& record = AddRecord("d2401010000_0001.ecg");
    Select({&record});
    ASSERT_EQ(ui::OpenRecordWindow(framework, nullptr, record), 1);
    EXPECT_TRUE(Frame(record)->windowState().testFlag(Qt::WindowMaximized));
}

TEST_F(RecordWindowsTest, SeveralRecordsCascadeFromTheParentsCorner) {
    QWidget parent;
    parent.setGeometry(100, 80, 640, 480);
    parent.show();
    QApplication::processEvents();
    const QPoint corner = parent.frameGeometry().topLeft();
    const int caption = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);

    const auto chosen = AddRecords(3);
    Select(chosen);
    ui::OpenSelectedRecords(framework, &parent);
    ASSERT_EQ(framework.GetRecordWindowCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const ui::CWaveFrame* frame = Frame(*chosen[static_cast<std::size_t>(i)]);
        ASSERT_NE(frame, nullptr);
        EXPECT_FALSE(frame->isMaximized());
        EXPECT_EQ(frame->size(), QSize(900, 550));
        EXPECT_EQ(frame->pos(), corner + QPoint(caption, caption) * (i + 1)) << i;
    }
}

TEST_F(RecordWindowsTest, AnUnreadableRecordOpensNoWindow) {
    const std::string path = data.Write("d2401010000_0001.ecg", "not a record");
    records::CECGContentsData broken;
    broken.SetPath(path);
    Select({&broken});
    EXPECT_EQ(ui::OpenRecordWindow(framework, nullptr, broken), 0);
    EXPECT_EQ(framework.GetRecordWindowCount(), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{platform::LoadText(10019)});
}

// The list may refill (and destroy its records) while the window is open.
TEST_F(RecordWindowsTest, AWindowOutlivesTheListsRecord) {
    auto& record = AddRecord("d2401010000_0001.ecg", 80);
    Select({&record});
    ASSERT_EQ(ui::OpenRecordWindow(framework, nullptr, record), 1);
    ui::CWaveFrame* frame = Frame(record);
    framework.ClearSelected();
    owned.clear();

    frame->OnCommand(ui::wave::kCmdZoomLarge);
    frame->grab();
    EXPECT_EQ(frame->Record().GetHeartRate(), 80);
}

TEST_F(RecordWindowsTest, ClosingAWindowUnregistersIt) {
    const auto chosen = AddRecords(3);
    Select(chosen);
    ui::OpenSelectedRecords(framework, nullptr);
    ASSERT_EQ(framework.GetRecordWindowCount(), 3);

    Frame(*chosen[1])->OnCommand(ui::wave::kCmdClose);
    EXPECT_EQ(framework.GetRecordWindowCount(), 2);
    EXPECT_EQ(Frame(*chosen[1]), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    ui::CloseAllRecordWindows(framework);
    EXPECT_EQ(framework.GetRecordWindowCount(), 0);
}

} // namespace
