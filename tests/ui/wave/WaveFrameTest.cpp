// The wave window's commands: zoom steps and their enabling, scrolling and
// paging, the status panes, the sensitivity that reaches the print, the
// delete that closes the window, the memo refusals and the busy frame.
#include "ui/wave/WaveFixture.h"

#include "app/StatusTexts.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "ui/Translate.h"
#include "ui/dialogs/UserMemo.h"
#include "ui/wave/WaveView.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>

#include <filesystem>
#include <sys/stat.h>

namespace {

using testsupport::WaveWindowTest;
using namespace ui::wave;

class WaveFrameTest : public WaveWindowTest {};

TEST_F(WaveFrameTest, ZoomCommandsAreEnabledBetweenTheSteps) {
    ui::CWaveFrame& frame = OpenAlone(AddRecord("d2401010000_0001.ecg"));
    struct Case {
        unsigned command;
        int zoom;
        bool small, standard, large;
    };
    const Case cases[] = {
        {kCmdZoomSmall, 100, false, true, true},
        {kCmdZoomLarge, 200, true, true, false},
        {kCmdZoomStandard, 150, true, false, true},
    };
    EXPECT_EQ(frame.View().Paper().GetZoom(), 150);
    for (const Case& c : cases) {
        frame.OnCommand(c.command);
        EXPECT_EQ(frame.View().Paper().GetZoom(), c.zoom);
        EXPECT_EQ(frame.IsCommandEnabled(kCmdZoomSmall), c.small) << c.zoom;
        EXPECT_EQ(frame.IsCommandEnabled(kCmdZoomStandard), c.standard) << c.zoom;
        EXPECT_EQ(frame.IsCommandEnabled(kCmdZoomLarge), c.large) << c.zoom;
        EXPECT_EQ(frame.Action(kCmdZoomLarge)->isEnabled(), c.large) << c.zoom;
    }
}

TEST_F(WaveFrameTest, TheScrollExtentFollowsTheZoom) {
    ui::CWaveFrame& frame = OpenAlone(AddRecord("d2401010000_0001.ecg"));
    frame.OnCommand(kCmdZoomSmall);
    const QSize small = frame.View().TotalSize();
    frame.OnCommand(kCmdZoomLarge);
    const QSize large = frame.View().TotalSize();
    EXPECT_NEAR(large.width(), 2 * small.width(), 2);
    EXPECT_NEAR(large.height(), 2 * small.height(), 2);
    // The sheet keeps the proportions of its paper.
    EXPECT_NEAR(static_cast<double>(large.height()) / large.width(), 2970.0 / 2060.0, 0.01);
}

TEST_F(WaveFrameTest, KeysScrollByLinesAndPages) {
    ui::CWaveFrame& frame = OpenAlone(AddRecord("d2401010000_0001.ecg"));
    ui::CWaveView& view = frame.View();
    QScrollBar* down = view.verticalScrollBar();
    QScrollBar* across = view.horizontalScrollBar();
    ASSERT_GT(down->maximum(), view.PageSize().height());
    across->setValue(across->maximum() / 2);
    const int middle = across->value();

    frame.OnCommand(kCmdPageDown);
    EXPECT_EQ(down->value(), view.PageSize().height());
    frame.OnCommand(kCmdLineUp);
    EXPECT_EQ(down->value(), view.PageSize().height() - view.LineSize().height());
    frame.OnCommand(kCmdLineDown);
    frame.OnCommand(kCmdPageUp);
    EXPECT_EQ(down->value(), 0);
    frame.OnCommand(kCmdScrollLeft);
    EXPECT_EQ(across->value(), std::max(0, middle - 5 * view.LineSize().width()));

    // The wave paper lays every strip on one page.
    EXPECT_FALSE(frame.IsCommandEnabled(kCmdNextPage));
    EXPECT_FALSE(frame.IsCommandEnabled(kCmdPreviousPage));
}

TEST_F(WaveFrameTest, TheHeartRatePaneShowsOnlyPlausibleRates) {
    struct Case {
        std::uint16_t rate;
        const char* pane;
    };
    const Case cases[] = {{25, "--"}, {29, "--"}, {30, nullptr}, {200, nullptr}, {201, "--"}};
    int number = 1;
    for (const Case& c : cases) {
        char name[32];
        std::snprintf(name, sizeof name, "d24010100%02d_%04d.ecg", number, number);
        ++number;
        ui::CWaveFrame& frame = OpenAlone(AddRecord(name, c.rate));
        const std::string rate =
            platform::FormatText(platform::LoadText(62092), {std::int64_t{c.rate}});
        EXPECT_EQ(frame.StatusText(2).toStdString(), c.pane != nullptr ? c.pane : rate) << c.rate;
        EXPECT_EQ(frame.StatusText(1).toStdString(), app::kDeviceModel);
    }
    // The main window still tells the number of a rate the wave window hides.
    EXPECT_NE(app::StatusPaneTexts(*owned.front())[2].find("25"), std::string::npos);
}

TEST_F(WaveFrameTest, TheSensitivityChosenInTheListIsPrinted) {
    auto& first = AddRecord("d2401010000_0001.ecg");
    auto& second = AddRecord("d2401010001_0002.ecg");
    ui::CWaveFrame& frame = OpenAlone(first);
    frame.SensitivityList().setCurrentIndex(2);
    EXPECT_EQ(frame.View().Paper().GetSensitivity(), 2);
    EXPECT_TRUE(frame.Action(kCmdSensitivity5)->isChecked());

    // Another window at 20 mm/mV draws last.
    ui::CWaveFrame& other = OpenAlone(second);
    other.OnCommand(kCmdSensitivity20);
    EXPECT_EQ(other.SensitivityList().currentIndex(), 0);
    other.grab();
    ASSERT_EQ(framework.GetSensitivity(), 0);
    // The paper draws what the list says: 1 mV is 20 mm of its grid.
    EXPECT_EQ(other.SensitivityList().currentText(), "20mm/mV");
    const render::CWavePaper& paper = other.View().Paper();
    EXPECT_DOUBLE_EQ(paper.GetFullScaleUnits() * 0.05 / paper.GetUnitsPerMmY(), 20.0);

    const std::string pdf = home.File("wave.pdf");
    int printedSensitivity = -1;
    frame.SetPrinterChooser([&](QPrinter& printer, QWidget*) {
        printedSensitivity = framework.GetSensitivity();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    });
    frame.OnCommand(kCmdPrintButton);
    EXPECT_EQ(printedSensitivity, 2);
    EXPECT_TRUE(testsupport::ReadFile(pdf).starts_with("%PDF"));
    EXPECT_EQ(framework.GetPrintCount(), 0);
    EXPECT_FALSE(framework.IsBusy());
}

TEST_F(WaveFrameTest, PrintingAVanishedFileRefuses) {
    auto& record = AddRecord("d2401010000_0001.ecg");
    ui::CWaveFrame& frame = OpenAlone(record);
    std::filesystem::remove(record.GetPath());
    bool chosen = false;
    frame.SetPrinterChooser([&](QPrinter&, QWidget*) { return chosen = true; });
    frame.OnCommand(kCmdPrint);
    EXPECT_FALSE(chosen);
    EXPECT_EQ(Messages(), std::vector<std::string>{platform::LoadText(51012)});
}

TEST_F(WaveFrameTest, DeletingTheRecordClosesItsWindowAndRefreshesTheList) {
    auto& record = AddRecord("d2401010000_0001.ecg");
    const std::string path = record.GetPath();
    ui::CWaveFrame& frame = OpenAlone(record);

    prompts.answers = {platform::kIdCancel};
    frame.OnCommand(kCmdDelete);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(Frame(record), &frame);
    EXPECT_EQ(refreshes, 0);

    prompts.answers = {platform::kIdOk};
    frame.OnCommand(kCmdDelete);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(framework.GetRecordWindowCount(), 0);
    EXPECT_EQ(refreshes, 1);
    EXPECT_FALSE(framework.IsBusy());
    EXPECT_EQ(prompts.shown.back().heading, "データ削除");
}

TEST_F(WaveFrameTest, TheMemoRefusesAMissingOrReadOnlyFile) {
    auto& record = AddRecord("d2401010000_0001.ecg");
    ui::CWaveFrame& frame = OpenAlone(record);
    if (::geteuid() != 0) {
        ::chmod(record.GetPath().c_str(), 0444);
        frame.OnCommand(kCmdMemoButton);
        EXPECT_EQ(Messages(), std::vector<std::string>{platform::LoadText(51017)});
        prompts.shown.clear();
    }
    std::filesystem::remove(record.GetPath());
    frame.OnCommand(kCmdMemo);
    EXPECT_EQ(Messages(), std::vector<std::string>{platform::LoadText(51012)});
    EXPECT_EQ(refreshes, 0);
    EXPECT_FALSE(framework.IsBusy());
}

TEST_F(WaveFrameTest, ASavedMemoReachesThePaperAndTheList) {
    ui::CWaveFrame& frame = OpenAlone(AddRecord("d2401010000_0001.ecg"));
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        EXPECT_FALSE(frame.isEnabled());
        for (auto* option : dialog->findChildren<QRadioButton*>()) {
            if (ui::ControlId(option) == ui::CUserMemo::kIdFirstSituation + 2)
                option->click();
        }
        dialog->accept();
    });
    frame.OnCommand(kCmdMemo);
    ASSERT_TRUE(seen);

    const unsigned situation = frame.Record().GetSituation();
    ASSERT_NE(situation, 0u);
    for (int option = 0; option < 10; ++option)
        EXPECT_EQ(frame.View().Paper().GetChoice(option), (situation >> option) & 1) << option;
    records::CECGContentsData stored;
    stored.SetPath(frame.Record().GetPath());
    stored.Load();
    EXPECT_EQ(stored.GetSituation(), situation);
    EXPECT_EQ(refreshes, 1);
    EXPECT_TRUE(frame.isEnabled());
}

TEST_F(WaveFrameTest, AcceleratorsReachTheCommands) {
    ui::CWaveFrame& frame = OpenAlone(AddRecord("d2401010000_0001.ecg"));
    ui::CWaveView& view = frame.View();
    frame.activateWindow();
    view.setFocus();
    QApplication::processEvents();
    QTest::keyClick(&view, Qt::Key_PageDown);
    EXPECT_EQ(view.verticalScrollBar()->value(), view.PageSize().height());
    QTest::keyClick(&view, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(view.Paper().GetZoom(), 200);
    QTest::keyClick(&view, Qt::Key_1, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(view.Paper().GetZoom(), 100);

    // In the sensitivity list the arrows choose, they do not scroll.
    frame.SensitivityList().setFocus();
    const int top = view.verticalScrollBar()->value();
    QTest::keyClick(&frame.SensitivityList(), Qt::Key_Down);
    EXPECT_EQ(view.verticalScrollBar()->value(), top);
    EXPECT_EQ(view.Paper().GetSensitivity(), 2);
}

TEST_F(WaveFrameTest, TheWheelScrollsALineANotch) {
    ui::CWaveFrame& frame = OpenAlone(AddRecord("d2401010000_0001.ecg"));
    ui::CWaveView& view = frame.View();
    auto turn = [&](int delta) {
        const QPointF at(10, 10);
        QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &wheel);
    };
    turn(-2 * 120);
    EXPECT_EQ(view.verticalScrollBar()->value(), 2 * view.LineSize().height());
    turn(120);
    EXPECT_EQ(view.verticalScrollBar()->value(), view.LineSize().height());
}

TEST_F(WaveFrameTest, OpenWindowsFollowALanguageChange) {
    ui::CWaveFrame& frame = OpenAlone(AddRecord("d2401010000_0001.ecg"));
    const QString english = frame.Action(kCmdMemoButton)->iconText();
    app::Languages().SelectLanguageId(0x0411);
    ui::BroadcastApplyLanguage(framework);
    const QString japanese = QString::fromStdString(platform::LoadText(62103));
    EXPECT_NE(japanese, english);
    EXPECT_EQ(frame.Action(kCmdMemoButton)->iconText(), japanese);
    EXPECT_EQ(frame.Action(kCmdZoomLarge)->toolTip().toStdString(), platform::LoadText(32872));
    EXPECT_EQ(frame.StatusText(3).toStdString(),
              app::StatusResultText(frame.Record().GetAnalysisClass()));
}

TEST_F(WaveFrameTest, TheBusyFrameDisablesTheWindowAndItsCommands) {
    ui::CWaveFrame& frame = OpenAlone(AddRecord("d2401010000_0001.ecg"));
    ASSERT_EQ(framework.EnableAllWindows(false), 1);
    EXPECT_FALSE(frame.isEnabled());
    EXPECT_FALSE(frame.Action(kCmdZoomSmall)->isEnabled());
    EXPECT_FALSE(frame.Action(kCmdPrintButton)->isEnabled());
    frame.OnCommand(kCmdZoomSmall);
    EXPECT_EQ(frame.View().Paper().GetZoom(), 150);

    ASSERT_EQ(framework.EnableAllWindows(true), 1);
    EXPECT_TRUE(frame.isEnabled());
    EXPECT_TRUE(frame.Action(kCmdZoomSmall)->isEnabled());
    EXPECT_TRUE(frame.Action(kCmdPrintButton)->isEnabled());
}

TEST_F(WaveFrameTest, AWindowOpenedDuringAnOperationWaitsForIt) {
    auto& record = AddRecord("d2401010000_0001.ecg");
    ASSERT_EQ(framework.EnableAllWindows(false), 1);
    Select({&record});
    ASSERT_EQ(ui::OpenRecordWindow(framework, nullptr, record), 1);
    EXPECT_FALSE(Frame(record)->isEnabled());
    framework.EnableAllWindows(true);
    EXPECT_TRUE(Frame(record)->isEnabled());
}

} // namespace
