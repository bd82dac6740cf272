// The main window's commands: their ids and when each is enabled, decided
// from a snapshot of the list and the print state so the rules hold
// whichever widget asks.
#pragma once

namespace app {

enum MainCommand : unsigned {
    kCmdImportSd = 208,
    kCmdOpen = 57601,
    kCmdPrint = 202,
    kCmdPrintButton = 57607,
    kCmdDelete = 192,
    kCmdExit = 57665,
    kCmdMemo = 32877,
    kCmdDeviceSettings = 217,
    kCmdOptions = 200,
    kCmdHelp = 204,
    kCmdVariousInfo = 32902,
    kCmdRegulatoryInfo = 32901,
    kCmdSortAscending = 312,
    kCmdSortDescending = 313,
    kCmdConvertEcg = 320,
    kCmdConvertText = 321,
    // Also the wave window's: both export the records they show.
    kCmdExportEdf = 62760,
    kCmdExportCsv = 62761,
};

struct MainCommandState {
    int listCount = 0;     // records in the list
    int listSelection = 0; // items the list control shows selected
    int selectedCount = 0; // records in the framework's selection
    bool anyMarked = false;
    bool printDialogOpen = false;
    bool printing = false;
};

// Commands the table does not know (the conversions among them) are
// disabled; the language commands are the language module's to decide.
bool IsMainCommandEnabled(unsigned command, const MainCommandState& state);

} // namespace app
