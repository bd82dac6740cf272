// When the main window's commands are enabled, as a table over the list's
// state and the print state.
#include "app/MainCommands.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using app::MainCommandState;

struct Case {
    const char* name;
    unsigned command;
    MainCommandState state;
    bool enabled;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

// listCount, listSelection, selectedCount, anyMarked, printDialogOpen, printing
constexpr Case kCases[] = {
    {"open needs records", app::kCmdOpen, {0, 0, 0, false, false, false}, false},
    {"open needs a selection", app::kCmdOpen, {3, 0, 0, false, false, false}, false},
    {"open with a selection", app::kCmdOpen, {3, 1, 1, false, false, false}, true},
    {"delete with a selection", app::kCmdDelete, {3, 2, 2, false, false, false}, true},
    {"delete needs the list's selection", app::kCmdDelete, {3, 0, 2, false, false, false}, false},
    {"export with a selection", app::kCmdExportEdf, {3, 2, 2, false, false, false}, true},
    {"export needs the list's selection", app::kCmdExportCsv, {3, 0, 1, true, false, false}, false},
    {"export while printing", app::kCmdExportCsv, {3, 1, 1, false, true, true}, true},
    {"memo with one record", app::kCmdMemo, {3, 1, 1, false, false, false}, true},
    {"memo refuses two records", app::kCmdMemo, {3, 2, 2, false, false, false}, false},
    {"print one selected", app::kCmdPrint, {3, 1, 1, false, false, false}, true},
    {"print marked without selection", app::kCmdPrint, {3, 0, 0, true, false, false}, true},
    {"print nothing selected or marked", app::kCmdPrint, {3, 0, 0, false, false, false}, false},
    {"print one while the dialog is open", app::kCmdPrint, {3, 1, 1, false, true, false}, false},
    {"print one while a job runs", app::kCmdPrintButton, {3, 1, 1, true, false, true}, false},
    {"print two while the dialog is open", app::kCmdPrint, {3, 2, 2, false, true, false}, true},
    {"print button follows print", app::kCmdPrintButton, {3, 0, 0, false, false, false}, false},
    {"sort needs records", app::kCmdSortAscending, {0, 0, 0, false, false, false}, false},
    {"sort with records", app::kCmdSortDescending, {1, 0, 0, false, false, false}, true},
    {"import always", app::kCmdImportSd, {0, 0, 0, false, true, true}, true},
    {"device settings always", app::kCmdDeviceSettings, {0, 0, 0, false, false, false}, true},
    {"options always", app::kCmdOptions, {0, 0, 0, false, false, false}, true},
    {"exit always", app::kCmdExit, {0, 0, 0, false, false, false}, true},
    {"conversion has no handler", app::kCmdConvertEcg, {3, 1, 1, false, false, false}, false},
    {"conversion to text has no handler",
     app::kCmdConvertText,
     {3, 1, 1, true, false, false},
     false},
};

class MainCommandRule : public testing::TestWithParam<Case> {};

TEST_P(MainCommandRule, Enabling) {
    const Case& c = GetParam();
    EXPECT_EQ(app::IsMainCommandEnabled(c.command, c.state), c.enabled);
}

INSTANTIATE_TEST_SUITE_P(Table, MainCommandRule, testing::ValuesIn(kCases));

} // namespace
