#include "ui/QPainterDC.h"

#include "platform/ShareFolder.h"

#include <QBrush>
#include <QColor>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygonF>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace ui {

namespace {

QColor ToColor(render::COLORREF c) {
    return QColor(render::GetRValue(c), render::GetGValue(c), render::GetBValue(c));
}

int ToQtAlignment(unsigned format) {
    int flags = 0;
    if (format & render::DT_CENTER)
        flags |= Qt::AlignHCenter;
    else if (format & render::DT_RIGHT)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (format & render::DT_VCENTER)
        flags |= Qt::AlignVCenter;
    else if (format & render::DT_BOTTOM)
        flags |= Qt::AlignBottom;
    else
        flags |= Qt::AlignTop;
    if (format & render::DT_WORDBREAK)
        flags |= Qt::TextWordWrap;
    if (format & render::DT_NOCLIP)
        flags |= Qt::TextDontClip;
    return flags;
}

} // namespace

void InstallFontSubstitutions() {
    const QStringList japanese{QStringLiteral("IPAexGothic"), QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("Meiryo UI"), japanese);
    QFont::insertSubstitutions(QStringLiteral("Meiryo"), japanese);
    QFont::insertSubstitutions(QString::fromUtf8("IPAexゴシック"), japanese);
    QFont::insertSubstitutions(QStringLiteral("Segoe UI"), {QStringLiteral("DejaVu Sans")});
}

render::DeviceCaps DeviceCapsOf(const QPaintDevice& device) {
    return render::DeviceCaps{device.width(),    device.height(),      device.widthMM(),
                              device.heightMM(), device.logicalDpiY(), device.logicalDpiX()};
}

std::string DefaultArtworkFolder() {
    return (std::filesystem::path(platform::ShareFolder()) / "Artwork").string();
}

QPainterDC::QPainterDC(QPainter& painter, bool printing, std::string artworkFolder)
    : CDC(DeviceCapsOf(*painter.device())), m_painter(painter), m_bPrinting(printing),
      m_strArtworkFolder(std::move(artworkFolder)) {
    // The papers name their faces without knowing what this desktop has.
    static std::once_flag substitutions;
    std::call_once(substitutions, InstallFontSubstitutions);
}

QPointF QPainterDC::Map(render::POINT pt) const {
    const render::DevicePoint d = LPtoDP(pt);
    return {d.x, d.y};
}

QRectF QPainterDC::MapRect(const render::RECT& rc) const {
    return QRectF(Map({rc.left, rc.top}), Map({rc.right, rc.bottom})).normalized();
}

void QPainterDC::PreparePainter(bool withBrush) {
    const render::LOGPEN& pen = GetPen();
    const double scale = std::abs(render::ScaleX(GetMapping()));
    const std::optional<render::COLORREF> brush =
        withBrush ? GetBrush() : std::optional<render::COLORREF>();
    // A grid is thousands of lines in one pen: changing the painter's state
    // for each would cost more than drawing them.
    if (m_bStateValid && pen == m_appliedPen && scale == m_dAppliedScale && brush == m_appliedBrush)
        return;
    m_bStateValid = true;
    m_appliedPen = pen;
    m_dAppliedScale = scale;
    m_appliedBrush = brush;
    if (pen.lopnStyle == render::PS_NULL) {
        m_painter.setPen(Qt::NoPen);
    } else {
        // Widths are logical units; anything thinner than a device pixel
        // stays one pixel wide, as on a GDI device.
        const double width = pen.lopnWidth * scale;
        QPen qpen(ToColor(pen.lopnColor));
        qpen.setWidthF(std::max(width, 1.0));
        qpen.setStyle(pen.lopnStyle == render::PS_DASH  ? Qt::DashLine
                      : pen.lopnStyle == render::PS_DOT ? Qt::DotLine
                                                        : Qt::SolidLine);
        qpen.setCapStyle(Qt::FlatCap);
        m_painter.setPen(qpen);
    }
    m_painter.setBrush(brush ? QBrush(ToColor(*brush)) : QBrush(Qt::NoBrush));
}

void QPainterDC::OnLine(render::POINT from, render::POINT to) {
    PreparePainter(false);
    m_painter.drawLine(Map(from), Map(to));
}

void QPainterDC::OnPolyline(std::span<const render::POINT> points) {
    PreparePainter(false);
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const render::POINT& pt : points)
        polygon.append(Map(pt));
    m_painter.drawPolyline(polygon);
}

void QPainterDC::OnFillRect(const render::RECT& rc, render::COLORREF colour) {
    m_painter.fillRect(MapRect(rc), ToColor(colour));
}

void QPainterDC::OnRoundRect(const render::RECT& rc, int ellipseWidth, int ellipseHeight) {
    PreparePainter(true);
    const double rx = ellipseWidth * std::abs(render::ScaleX(GetMapping())) / 2;
    const double ry = ellipseHeight * std::abs(render::ScaleY(GetMapping())) / 2;
    m_painter.drawRoundedRect(MapRect(rc), rx, ry);
}

void QPainterDC::OnEllipse(const render::RECT& rc) {
    PreparePainter(true);
    m_painter.drawEllipse(MapRect(rc));
}

QFont QPainterDC::DeviceFont(const render::LOGFONT& lf) const {
    QFont font(QString::fromStdString(lf.lfFaceName));
    const double pixels = std::abs(lf.lfHeight * render::ScaleY(GetMapping()));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    font.setWeight(lf.lfWeight >= render::FW_BOLD ? QFont::Bold : QFont::Normal);
    font.setItalic(lf.lfItalic);
    return font;
}

std::function<int(std::string_view, const render::LOGFONT&)> QPainterDC::Measure() const {
    return [this](std::string_view text, const render::LOGFONT& lf) {
        const QFontMetricsF metrics(DeviceFont(lf), m_painter.device());
        const double pixels = metrics.horizontalAdvance(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        const double scale = std::abs(render::ScaleX(GetMapping()));
        return scale > 0 ? static_cast<int>(std::lround(pixels / scale)) : 0;
    };
}

void QPainterDC::OnDrawText(std::string_view text, const render::RECT& rc, unsigned format) {
    m_bStateValid = false;
    m_painter.setFont(DeviceFont(GetFont()));
    m_painter.setPen(ToColor(GetTextColor()));
    QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (format & render::DT_SINGLELINE)
        string.replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_painter.drawText(MapRect(rc), ToQtAlignment(format), string);
}

void QPainterDC::OnStretchBitmap(unsigned resourceId, const render::RECT& rc) {
    // Parsed once per file: a thumbnail draws several pictures, and reading
    // and parsing an SVG each time would cost more than the whole drawing.
    static std::mutex lock;
    static std::map<std::string, std::unique_ptr<QSvgRenderer>> renderers;
    const std::string file =
        (std::filesystem::path(m_strArtworkFolder) / (std::to_string(resourceId) + ".svg"))
            .string();
    const std::lock_guard guard(lock);
    auto found = renderers.find(file);
    if (found == renderers.end()) {
        std::error_code ec;
        std::unique_ptr<QSvgRenderer> renderer;
        if (std::filesystem::is_regular_file(file, ec))
            renderer = std::make_unique<QSvgRenderer>(QString::fromStdString(file));
        found = renderers.emplace(file, std::move(renderer)).first;
    }
    if (found->second && found->second->isValid())
        found->second->render(&m_painter, MapRect(rc));
    m_bStateValid = false;
}

} // namespace ui
