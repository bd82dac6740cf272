// File > Export from a window: the folder the files go to, a progress
// dialog while several records are written, and a message saying what was
// written (or why not). The work itself is exports::RunExport.
#pragma once

#include "export/ExportFormat.h"
#include "platform/UserPrompts.h"

#include <QString>

#include <functional>
#include <span>

class QWidget;

namespace ui {

// The format of File > Export as EDF+ or CSV (app::kCmdExportEdf,
// app::kCmdExportCsv), in the main and the wave windows.
const exports::IExportFormat& ExportFormatFor(unsigned command);

// The folder chooser; an empty answer means the person cancelled.
using ExportFolderChooser = std::function<QString(QWidget* owner, const QString& start)>;
QString ChooseExportFolder(QWidget* owner, const QString& start);

// Writes one file per record into a folder the person chooses, named after
// the record. Files already there are replaced only when the person says
// so; nothing is written otherwise.
void ExportRecords(QWidget* owner, std::span<const records::CECGContentsData* const> records,
                   const exports::IExportFormat& format, platform::IUserPrompts& prompts,
                   const ExportFolderChooser& choose = ChooseExportFolder);

} // namespace ui
