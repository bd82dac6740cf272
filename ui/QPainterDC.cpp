#include "ui/QPainterDC.h"

#include "platform/ShareFolder.h"

#include <QBrush>
#include <QColor>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygonF>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <filesystem>
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
    return render::DeviceCaps{device.width(), device.height(), device.widthMM(), device.heightMM(),
                              device.logicalDpiY()};
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
    if (pen.lopnStyle == render::PS_NULL) {
        m_painter.setPen(Qt::NoPen);
    } else {
        // Widths are logical units; anything thinner than a device pixel
        // stays one pixel wide, as on a GDI device.
        const double width = pen.lopnWidth * std::abs(render::ScaleX(GetMapping()));
        QPen qpen(ToColor(pen.lopnColor));
        qpen.setWidthF(std::max(width, 1.0));
        qpen.setStyle(pen.lopnStyle == render::PS_DASH  ? Qt::DashLine
                      : pen.lopnStyle == render::PS_DOT ? Qt::DotLine
                                                        : Qt::SolidLine);
        qpen.setCapStyle(Qt::FlatCap);
        m_painter.setPen(qpen);
    }
    const auto& brush = GetBrush();
    m_painter.setBrush(withBrush && brush ? QBrush(ToColor(*brush)) : QBrush(Qt::NoBrush));
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

void QPainterDC::OnDrawText(std::string_view text, const render::RECT& rc, unsigned format) {
    const render::LOGFONT& lf = GetFont();
    QFont font(QString::fromStdString(lf.lfFaceName));
    const double pixels = std::abs(lf.lfHeight * render::ScaleY(GetMapping()));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    font.setWeight(lf.lfWeight >= render::FW_BOLD ? QFont::Bold : QFont::Normal);
    font.setItalic(lf.lfItalic);
    m_painter.setFont(font);
    m_painter.setPen(ToColor(GetTextColor()));
    QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (format & render::DT_SINGLELINE)
        string.replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_painter.drawText(MapRect(rc), ToQtAlignment(format), string);
}

void QPainterDC::OnStretchBitmap(unsigned resourceId, const render::RECT& rc) {
    const std::filesystem::path file =
        std::filesystem::path(m_strArtworkFolder) / (std::to_string(resourceId) + ".svg");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return;
    QSvgRenderer renderer(QString::fromStdString(file.string()));
    if (renderer.isValid())
        renderer.render(&m_painter, MapRect(rc));
}

} // namespace ui
