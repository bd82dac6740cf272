#include "ui/PaperOutput.h"

#include "render/PreviewPaper.h"
#include "render/PrintJob.h"
#include "render/WavePaper.h"
#include "ui/PagedTarget.h"
#include "ui/QPainterDC.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace ui {

namespace {

// Image outputs of a page are made at this resolution.
constexpr int kImageDpi = 150;

std::string Bytes(const QByteArray& data) {
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

// One page on any paint device; further pages are not drawn.
class CSinglePageTarget : public render::IPrintTarget {
public:
    explicit CSinglePageTarget(QPainter& painter) : m_dc(painter, true) {}
    render::CDC& GetDC() override { return m_dc; }
    void StartDoc(std::string_view) override {}
    void StartPage() override {}
    void EndPage() override {}
    void EndDoc() override {}

private:
    QPainterDC m_dc;
};

// Draws with `draw` into a PNG or SVG of the given size.
template <typename Draw>
bool DrawImage(PaperFormat format, QSize size, int dpi, Draw draw, std::string& bytes) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (format == PaperFormat::Png) {
        QImage image(size, QImage::Format_RGB32);
        image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254));
        image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter);
        painter.end();
        if (!image.save(&buffer, "PNG"))
            return false;
    } else if (format == PaperFormat::Svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setResolution(dpi);
        QPainter painter;
        if (!painter.begin(&generator))
            return false;
        draw(painter);
        painter.end();
    } else {
        return false;
    }
    bytes = Bytes(data);
    return true;
}

} // namespace

PaperSize PaperSizeOf(const app::CGraphOption& options) {
    return options.paperSize == 1 ? PaperSize::Letter : PaperSize::A4;
}

PaperSize PaperSizeOf(const QPageSize& page) {
    return page.id() == QPageSize::Letter ? PaperSize::Letter : PaperSize::A4;
}

QPageSize PageSizeOf(PaperSize paper) {
    return QPageSize(paper == PaperSize::Letter ? QPageSize::Letter : QPageSize::A4);
}

app::CGraphOption OnPaper(app::CGraphOption options, PaperSize paper) {
    options.paperSize = paper == PaperSize::Letter ? 1 : 0;
    return options;
}

std::optional<PaperFormat> PaperFormatOf(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    std::string extension(fileName.substr(dot));
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (extension == ".pdf")
        return PaperFormat::Pdf;
    if (extension == ".svg")
        return PaperFormat::Svg;
    if (extension == ".png")
        return PaperFormat::Png;
    return std::nullopt;
}

bool DrawReport(std::span<const records::CECGContentsData* const> records, PaperFormat format,
                const app::CGraphOption& options, int sensitivity, PaperSize paper,
                std::string& bytes) {
    render::CPrintManager manager;
    const app::CGraphOption layout = OnPaper(options, paper);
    if (format == PaperFormat::Pdf) {
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setResolution(600);
            writer.setPageSize(PageSizeOf(paper));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            writer.setCreator("Rhythmora");
            writer.setTitle(QString::fromStdString(render::CPrintManager::DocumentName(records)));
            CPagedTarget target(writer);
            if (!target.IsOpen())
                return false;
            manager.GetPaper().SetTextMeasure(target.GetPainterDC().Measure());
            manager.PrintRecords(target, records, layout, sensitivity);
        }
        bytes = Bytes(data);
        return true;
    }
    const QSizeF mm = PageSizeOf(paper).size(QPageSize::Millimeter);
    const QSize size(static_cast<int>(mm.width() / 25.4 * kImageDpi),
                     static_cast<int>(mm.height() / 25.4 * kImageDpi));
    const auto first = records.first(records.empty() ? 0 : 1);
    return DrawImage(
        format, size, kImageDpi,
        [&](QPainter& painter) {
            CSinglePageTarget target(painter);
            manager.GetPaper().SetTextMeasure(static_cast<QPainterDC&>(target.GetDC()).Measure());
            manager.PrintRecords(target, first, layout, sensitivity);
        },
        bytes);
}

bool DrawWave(const records::CECGContentsData& record, PaperFormat format,
              const app::CGraphOption& options, int zoom, int sensitivity, std::string& bytes) {
    // The screen the wave window would be on: 320 mm across 1920 pixels.
    const int width = 1920;
    const int height = static_cast<int>(297.0 * width / 320.0 * zoom / 100.0) + 60;
    return DrawImage(
        format, QSize(width, height), 96,
        [&](QPainter& painter) {
            QPainterDC dc(painter, false);
            render::CWavePaper paper;
            paper.SetGraphOption(options);
            paper.SetTextMeasure(dc.Measure());
            paper.SetData(&record);
            paper.SetZoom(zoom);
            paper.SetSensitivity(sensitivity);
            paper.SetDC(&dc);
            paper.SetContents(0, 0, -(zoom * 2060 / 100), -(zoom * 2970 / 100));
            paper.ApplyGraphOptions(options.colours);
            paper.Draw();
        },
        bytes);
}

bool DrawThumbnail(const records::CECGContentsData& record, PaperFormat format,
                   const app::CGraphOption& options, std::string& bytes) {
    render::CPreviewPaper paper(5.0, 5.0);
    paper.SetData(&record);
    // The thumbnail's own rectangle, found on a scratch image first.
    QImage scratch(8, 8, QImage::Format_RGB32);
    QSize size(900, 150);
    {
        QPainter painter(&scratch);
        QPainterDC dc(painter, false);
        paper.SetDC(&dc);
        const render::RECT rc = paper.GetPaperRect();
        size = QSize(std::abs(rc.right - rc.left), std::abs(rc.bottom - rc.top));
    }
    return DrawImage(
        format, size, 96,
        [&](QPainter& painter) {
            QPainterDC dc(painter, false);
            paper.SetTextMeasure(dc.Measure());
            paper.ApplyGraphOptions(options.colours);
            paper.SetDC(&dc);
            paper.Draw();
        },
        bytes);
}

} // namespace ui
