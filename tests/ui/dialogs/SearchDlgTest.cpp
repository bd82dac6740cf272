// The record search dialog: the boxes it opens with, how the "all" box and
// the six group boxes follow each other, what OK stores and Cancel keeps,
// and where it opens.
#include "ui/dialogs/SearchDlg.h"

#include "DialogTestSupport.h"
#include "app/ECGOptions.h"
#include "platform/UserPrompts.h"
#include "ui/dialogs/CommonButton.h"
#include "ui/dialogs/DialogPlacement.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <vector>

namespace {

using dialogtest::Control;
using dialogtest::PressKey;
using dialogtest::RunModal;
using platform::kIdCancel;
using platform::kIdOk;
using ui::CSearchDlg;
using Switches = std::array<int, 6>;

// Seven characters, "all" then the six groups: 1 checked, 0 not.
std::string Boxes(CSearchDlg& dialog) {
    std::string boxes;
    for (unsigned id = CSearchDlg::kIdAll; id <= CSearchDlg::kIdFirstGroup + 5; ++id) {
        boxes += Control<QCheckBox>(&dialog, id)->isChecked() ? '1' : '0';
    }
    return boxes;
}

struct SearchCase {
    const char* name;
    Switches before;
    const char* opened;           // the boxes when the dialog opens
    std::vector<unsigned> clicks; // control ids clicked in turn
    const char* afterClicks;
    Switches stored; // after OK
};

void PrintTo(const SearchCase& search, std::ostream* out) {
    *out << search.name;
}

const SearchCase kCases[] = {
    {"no filter opens with every box and stores every switch",
     {},
     "1111111",
     {},
     "1111111",
     {1, 1, 1, 1, 1, 1}},
    {"one switch", {0, 1, 0, 0, 0, 0}, "0010000", {}, "0010000", {0, 1, 0, 0, 0, 0}},
    {"all six switches open with the all box off",
     {1, 1, 1, 1, 1, 1},
     "0111111",
     {},
     "0111111",
     {1, 1, 1, 1, 1, 1}},
    {"a group off turns all off", {}, "1111111", {1299}, "0110111", {1, 1, 0, 1, 1, 1}},
    {"the last group on turns all on", {}, "1111111", {1299, 1299}, "1111111", {1, 1, 1, 1, 1, 1}},
    {"a group on with others off leaves all off",
     {0, 0, 0, 0, 0, 1},
     "0000001",
     {1297},
     "0100001",
     {1, 0, 0, 0, 0, 1}},
    {"all off clears the groups, which means no filter",
     {},
     "1111111",
     {1296},
     "0000000",
     {0, 0, 0, 0, 0, 0}},
    {"all on sets every group",
     {0, 0, 1, 0, 0, 0},
     "0001000",
     {1296},
     "1111111",
     {1, 1, 1, 1, 1, 1}},
    {"all off, then one group on", {}, "1111111", {1296, 1302}, "0000001", {0, 0, 0, 0, 0, 1}},
};

class SearchBoxTest : public ::testing::TestWithParam<SearchCase> {
protected:
    SearchBoxTest() : m_language(dialogtest::kNoLanguage) {}
    dialogtest::LanguageScope m_language;
};

TEST_P(SearchBoxTest, BoxesFollowEachOtherAndOkStoresThem) {
    const SearchCase& search = GetParam();
    app::CECGOptions options;
    options.searchColumns = search.before;
    CSearchDlg dialog(options);
    const int answer = RunModal(dialog, [&] {
        EXPECT_EQ(Boxes(dialog), search.opened);
        for (unsigned id : search.clicks) {
            Control<QCheckBox>(&dialog, id)->click();
        }
        EXPECT_EQ(Boxes(dialog), search.afterClicks);
        Control<ui::CCommonButton>(&dialog, kIdOk)->click();
    });
    EXPECT_EQ(answer, kIdOk);
    EXPECT_EQ(options.searchColumns, search.stored);
}

TEST_P(SearchBoxTest, CancelAndEscapeKeepTheSwitches) {
    const SearchCase& search = GetParam();
    for (bool escape : {false, true}) {
        app::CECGOptions options;
        options.searchColumns = search.before;
        CSearchDlg dialog(options);
        const int answer = RunModal(dialog, [&] {
            for (unsigned id : search.clicks) {
                Control<QCheckBox>(&dialog, id)->click();
            }
            if (escape) {
                PressKey(dialog.focusWidget(), Qt::Key_Escape);
            } else {
                Control<ui::CCommonButton>(&dialog, kIdCancel)->click();
            }
        });
        EXPECT_EQ(answer, kIdCancel);
        EXPECT_EQ(options.searchColumns, search.before);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SearchBoxTest, ::testing::ValuesIn(kCases));

class SearchDlgTest : public ::testing::Test {
protected:
    SearchDlgTest() : m_language(dialogtest::kEnglish) {}
    dialogtest::LanguageScope m_language;
};

TEST_F(SearchDlgTest, KeyboardAloneChoosesAGroup) {
    app::CECGOptions options;
    CSearchDlg dialog(options);
    const int answer = RunModal(dialog, [&] {
        auto* all = Control<QCheckBox>(&dialog, CSearchDlg::kIdAll);
        EXPECT_EQ(dialog.focusWidget(), all);
        EXPECT_EQ(all->text(), "All");
        EXPECT_EQ(Control<QCheckBox>(&dialog, 1302)->text(), "Cannot be analysed");
        PressKey(all, Qt::Key_Space);
        PressKey(all, Qt::Key_Tab);
        PressKey(dialog.focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(dialog.focusWidget(), Control<QCheckBox>(&dialog, 1298));
        PressKey(dialog.focusWidget(), Qt::Key_Space);
        PressKey(dialog.focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(answer, kIdOk);
    EXPECT_EQ(options.searchColumns, (Switches{0, 1, 0, 0, 0, 0}));
}

TEST_F(SearchDlgTest, OpensAtTheStoredPlaceButAlwaysOnScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    struct Place {
        QPoint stored;
        bool kept;
    };
    for (const Place& place : {Place{screen.topLeft() + QPoint(30, 40), true},
                               Place{QPoint(screen.right() + 2000, screen.bottom() + 2000), false},
                               Place{QPoint(-5000, 100), false}}) {
        app::CECGOptions options;
        options.searchDlgX = place.stored.x();
        options.searchDlgY = place.stored.y();
        CSearchDlg dialog(options);
        RunModal(dialog, [&] {
            const QRect frame = dialog.frameGeometry();
            EXPECT_TRUE(screen.contains(frame)) << frame.x() << "," << frame.y();
            if (place.kept) {
                EXPECT_EQ(frame.topLeft(), place.stored);
            }
            dialog.reject();
        });
    }
}

TEST(DialogPlacementTest, MovesAsLittleAsNeededOntoTheBestScreen) {
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    const QSize size(300, 200);
    struct Case {
        QPoint wanted;
        QPoint placed;
    };
    const Case cases[] = {
        {{100, 100}, {100, 100}},    // fully on the first screen
        {{1700, 100}, {1620, 100}},  // mostly on the first: pulled back onto it
        {{1900, 900}, {1920, 824}},  // mostly on the second: onto it
        {{5000, 5000}, {2900, 824}}, // beyond all: the nearest screen's corner
        {{-400, -300}, {0, 0}},      // above and left of all
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ui::PlaceOnScreen(c.wanted, size, screens), c.placed)
            << c.wanted.x() << "," << c.wanted.y();
    }
    // Too large for any screen: its top-left corner stays visible.
    EXPECT_EQ(ui::PlaceOnScreen({100, 100}, QSize(3000, 2000), screens), QPoint(0, 0));
    EXPECT_EQ(ui::PlaceOnScreen({5000, 5000}, size, {}), QPoint(5000, 5000));
}

} // namespace
