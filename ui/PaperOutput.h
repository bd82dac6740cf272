// The papers as files: the report as PDF (one page per record, the print
// job's sequence) or its first page as SVG or PNG, the wave paper and the
// thumbnail as images. They are drawn in memory, so the command line can
// send them to its standard output as well as save them.
#pragma once

#include "app/GraphOption.h"
#include "records/ECGContentsData.h"

#include <QPageSize>

#include <optional>
#include <span>
#include <string>
#include <string_view>

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

enum class PaperFormat { Pdf, Svg, Png };

// The format a file name's extension names (.pdf, .svg, .png, in any
// letter case).
std::optional<PaperFormat> PaperFormatOf(std::string_view fileName);

// The report as a file's bytes: a PDF holds one page per record, an SVG or
// PNG the first page; the page is laid out for the given paper whatever
// the settings say. False when the drawing could not be started.
bool DrawReport(std::span<const records::CECGContentsData* const> records, PaperFormat format,
                const app::CGraphOption& options, int sensitivity, PaperSize paper,
                std::string& bytes);
// The wave paper and the thumbnail as an SVG or PNG (not a PDF, which
// holds only the report).
bool DrawWave(const records::CECGContentsData& record, PaperFormat format,
              const app::CGraphOption& options, int zoom, int sensitivity, std::string& bytes);
bool DrawThumbnail(const records::CECGContentsData& record, PaperFormat format,
                   const app::CGraphOption& options, std::string& bytes);

} // namespace ui
