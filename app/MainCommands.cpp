#include "app/MainCommands.h"

namespace app {

namespace {

bool IsPrintEnabled(const MainCommandState& s) {
    if (s.selectedCount == 1 && (s.printDialogOpen || s.printing))
        return false;
    if (s.selectedCount == 0 && !s.anyMarked)
        return false;
    return s.listSelection > 0 || s.anyMarked;
}

} // namespace

bool IsMainCommandEnabled(unsigned command, const MainCommandState& s) {
    switch (command) {
    case kCmdImportSd:
    case kCmdExit:
    case kCmdDeviceSettings:
    case kCmdOptions:
    case kCmdHelp:
    case kCmdVariousInfo:
    case kCmdRegulatoryInfo:
        return true;
    case kCmdOpen:
        return s.listCount > 0 && s.listSelection > 0;
    case kCmdPrint:
    case kCmdPrintButton:
        return IsPrintEnabled(s);
    case kCmdDelete:
    case kCmdExportEdf:
    case kCmdExportCsv:
        return s.selectedCount > 0 && s.listSelection > 0;
    case kCmdMemo:
        return s.selectedCount == 1 && s.listSelection > 0;
    case kCmdSortAscending:
    case kCmdSortDescending:
        return s.listCount > 0;
    default:
        return false;
    }
}

} // namespace app
