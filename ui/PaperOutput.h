// The papers written to files: the report as PDF (one page per record, the
// print job's sequence) or its first page as SVG or PNG, the wave paper and
// the thumbnail as images. The command line and the window share them.
#pragma once

#include "app/GraphOption.h"
#include "records/ECGContentsData.h"

#include <QPageSize>

#include <span>
#include <string>

namespace ui {

enum class PaperSize { A4, Letter };

// The paper of the settings: Letter for paper size 1, else A4, which the
// report is laid out for whenever the setting names neither.
PaperSize PaperSizeOf(const app::CGraphOption& options);
// The paper a page of Qt's is laid out for: Letter, else A4.
PaperSize PaperSizeOf(const QPageSize& page);
QPageSize PageSizeOf(PaperSize paper);
// The settings with the paper size of the paper.
app::CGraphOption OnPaper(app::CGraphOption options, PaperSize paper);

// The output kind follows the file name: .pdf, .svg or .png; the page is
// laid out for the given paper whatever the settings say. False with
// `error` set when the file cannot be written.
bool WriteReport(std::span<const records::CECGContentsData* const> records, const std::string& path,
                 const app::CGraphOption& options, int sensitivity, PaperSize paper,
                 std::string& error);

// .png or .svg.
bool WriteWave(const records::CECGContentsData& record, const std::string& path,
               const app::CGraphOption& options, int zoom, int sensitivity, std::string& error);

// .png or .svg.
bool WriteThumbnail(const records::CECGContentsData& record, const std::string& path,
                    const app::CGraphOption& options, std::string& error);

} // namespace ui
