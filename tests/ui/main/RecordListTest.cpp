// The record list: what a refill shows and in which order, the marks it
// keeps, the filter, the print-mark box, thumbnails drawn on demand only.
#include "ui/SinoraView.h"
#include "ui/ThumbnailDelegate.h"
#include "ui/main/MainWindowFixture.h"

#include <QLabel>
#include <QScrollBar>
#include <QTest>

#include <filesystem>

namespace {

using testsupport::MainWindowTest;

constexpr std::uint32_t kSlowRate = 0x0040;      // class 5
constexpr std::uint32_t kNotAnalysable = 0x0800; // class 12

TEST_F(MainWindowTest, RefillListsValidRecordsByDescendingSortKey) {
    AddRecord("p2601010000_0003.ecg");
    AddRecord("d2401010000_0001.ecg");
    AddRecord("d2501010000_0002.ecg");
    data.Write("notes.ecg", "not a record");
    data.Write("d2502010000_0004.txt", "not a record either");
    Open();

    // A leading "d" sorts as "z": dated records come before undated ones.
    EXPECT_EQ(ListedNames(),
              (std::vector<std::string>{"d2501010000_0002.ecg", "d2401010000_0001.ecg",
                                        "p2601010000_0003.ecg"}));
    EXPECT_EQ(framework.GetListedCount(), 3);
    EXPECT_EQ(List().currentIndex().row(), 0);
    EXPECT_EQ(List().SelectedItemCount(), 1);
    ASSERT_EQ(framework.GetSelectedCount(), 1);
    EXPECT_EQ(framework.GetSelected(0)->GetFileName(), "d2501010000_0002.ecg");

    // The time sort of the context menu, then a refill restores the key order.
    frame->OnCommand(app::kCmdSortAscending);
    EXPECT_EQ(List().SortMode(), records::kSortByTime);
    frame->RefreshList();
    EXPECT_EQ(ListedNames().front(), "d2501010000_0002.ecg");
    EXPECT_EQ(List().SortMode(), records::kSortByKeyDescending);
}

TEST_F(MainWindowTest, SortByTimeKeepsTheSelectionOnItsRecord) {
    AddRecord("d2401010000_0001.ecg", 1704412800);
    AddRecord("d2401020000_0002.ecg", 1704412800 - 3600);
    AddRecord("d2401030000_0003.ecg", 1704412800 + 3600);
    Open();
    Select({1});
    const std::string selected = framework.GetSelected(0)->GetFileName();

    frame->OnCommand(app::kCmdSortAscending);
    EXPECT_EQ(ListedNames(),
              (std::vector<std::string>{"d2401020000_0002.ecg", "d2401010000_0001.ecg",
                                        "d2401030000_0003.ecg"}));
    frame->OnCommand(app::kCmdSortDescending);
    EXPECT_EQ(ListedNames().front(), "d2401030000_0003.ecg");
    ASSERT_EQ(List().SelectedItemCount(), 1);
    EXPECT_EQ(
        List().Model().Record(List().selectionModel()->selectedIndexes().front())->GetFileName(),
        selected);
}

TEST_F(MainWindowTest, MarksSurviveARefillUnlessTheFileIsGone) {
    AddRecord("d2401010000_0001.ecg");
    const std::string gone = AddRecord("d2401020000_0002.ecg");
    AddRecord("d2401030000_0003.ecg");
    Open();
    for (const auto& record : List().Model().Records())
        if (record->GetFileName() != "d2401030000_0003.ecg")
            record->ToggleChecked();
    std::filesystem::remove(gone);

    frame->RefreshList();
    std::vector<std::string> marked;
    for (const auto& record : List().Model().Records())
        if (record->IsChecked())
            marked.push_back(record->GetFileName());
    EXPECT_EQ(marked, std::vector<std::string>{"d2401010000_0001.ecg"});
}

TEST_F(MainWindowTest, FilterKeepsTheChosenAnalysisGroups) {
    AddRecord("d2401010000_0001.ecg", 1704412800, 0);
    AddRecord("d2401020000_0002.ecg", 1704412800, kSlowRate);
    AddRecord("d2401030000_0003.ecg", 1704412800, kNotAnalysable);
    struct Case {
        std::array<int, 6> switches;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0, 0},
         {"d2401030000_0003.ecg", "d2401020000_0002.ecg", "d2401010000_0001.ecg"}},
        {{0, 0, 0, 0, 0, 1}, {"d2401030000_0003.ecg"}},
        {{0, 1, 0, 0, 0, 0}, {"d2401020000_0002.ecg"}},
        {{1, 0, 0, 0, 1, 0}, {"d2401010000_0001.ecg"}},
    };
    Open();
    for (const Case& c : cases) {
        framework.GetOptions().searchColumns = c.switches;
        frame->RefreshList();
        EXPECT_EQ(ListedNames(), c.listed);
        EXPECT_EQ(framework.GetListedCount(), static_cast<int>(c.listed.size()));
    }
}

TEST_F(MainWindowTest, EmptyFolderClearsTheStatusAndTheCount) {
    AddRecord("d2401010000_0001.ecg");
    Open();
    EXPECT_FALSE(frame->StatusText(0).isEmpty());
    std::filesystem::remove(data.File("d2401010000_0001.ecg"));
    frame->RefreshList();
    EXPECT_EQ(List().RecordCount(), 0);
    for (int pane = 0; pane < 4; ++pane)
        EXPECT_TRUE(frame->StatusText(pane).isEmpty()) << pane;
    EXPECT_EQ(frame->View().CountLabel().text(), "0 selected");
    EXPECT_FALSE(frame->View().DeleteButton().isEnabled());
}

TEST_F(MainWindowTest, PrintMarkBoxEdges) {
    AddRecord("d2401010000_0001.ecg");
    Open();
    records::CECGContentsData* record = List().Model().Record(0);
    struct Case {
        QPoint at; // relative to the icon rectangle
        bool toggles;
    };
    const Case cases[] = {
        {{21, 20}, false}, {{22, 20}, true}, {{50, 20}, true}, {{51, 20}, false},
        {{30, 11}, false}, {{30, 12}, true}, {{30, 40}, true}, {{30, 41}, false},
    };
    for (const Case& c : cases) {
        const bool before = record->IsChecked();
        // Clicks far apart in time, so no two make a double click.
        QTest::mouseClick(List().viewport(), Qt::LeftButton, {},
                          List().IconRect(0).topLeft() + c.at, 1000);
        EXPECT_EQ(record->IsChecked() != before, c.toggles) << c.at.x() << "," << c.at.y();
    }
    EXPECT_TRUE(frame->IsCommandEnabled(app::kCmdPrint));
}

TEST_F(MainWindowTest, ThumbnailsAreDrawnOnlyForVisibleItems) {
    for (int i = 0; i < 40; ++i)
        AddRecord("d24010100" + std::to_string(10 + i) + "_0001.ecg");
    framework.GetOptions().maxImageListSize = 6;
    Open({900, 640});
    ui::CThumbnailCache& cache = List().Thumbnails();
    List().grab();
    const int firstScreen = cache.DrawCount();
    EXPECT_GT(firstScreen, 0);
    EXPECT_LT(firstScreen, 8);

    // Scrolling through everything draws each item as it shows, and the
    // cache never grows past its limit: it empties and starts again.
    QScrollBar* bar = List().verticalScrollBar();
    for (int value = 0; value <= bar->maximum(); value += List().viewport()->height()) {
        bar->setValue(value);
        List().grab();
        EXPECT_LE(cache.Count(), 6);
    }
    bar->setValue(bar->maximum());
    List().grab();
    EXPECT_GE(cache.DrawCount(), 40);
    EXPECT_LE(cache.Count(), 6);
}

TEST_F(MainWindowTest, ThumbnailCacheIsBoundedWithoutALimit) {
    framework.GetOptions().maxImageListSize = 0;
    ui::CThumbnailCache cache;
    const qsizetype bytes =
        qsizetype{cache.ThumbnailSize().width()} * cache.ThumbnailSize().height() * 2;
    EXPECT_GE(cache.Capacity(), 8);
    EXPECT_LE(cache.Capacity() * bytes, ui::CThumbnailCache::kMaxBytes);
    cache.SetLimit(100000);
    EXPECT_LE(cache.Capacity() * bytes, ui::CThumbnailCache::kMaxBytes);
    cache.SetLimit(3);
    EXPECT_EQ(cache.Capacity(), 3);
}

} // namespace
