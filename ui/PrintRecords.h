// Printing the framework's print list from a window: the printer dialog
// (a PDF file is always one of its printers), then one report page per
// record as one job.
#pragma once

#include "app/ECGFramework.h"
#include "render/PrintJob.h"

#include <functional>

class QPrinter;
class QWidget;

namespace ui {

inline constexpr const char* kPrintDialogLock = "__Rhythmora_PrintDlg_Mutex__";

// 1 when no other process holds the print dialog's lock, else 0.
int IsPrintDialogFree();

// Lets the person choose the printer; false when they cancel.
using PrinterChooser = std::function<bool(QPrinter& printer, QWidget* parent)>;
bool ShowPrintDialog(QPrinter& printer, QWidget* parent);

// Prints every record of the framework's print list, each on the page it
// gets alone, on the settings' paper unless the dialog chose another. The
// printing flag is set while the job runs. False when nothing was printed:
// the dialog was cancelled, or no printer (not even a PDF file) can be
// used, which the prompts are told.
bool PrintRecords(QWidget* parent, app::CECGFramework& framework, render::CPrintManager& manager,
                  const PrinterChooser& choose = ShowPrintDialog);

} // namespace ui
