#include "render/CDC.h"

#include <cmath>
#include <cstdlib>

namespace render {

int CDC::SetMapMode(int mode) {
    const int previous = m_mapping.nMode;
    m_mapping = MappingFor(mode, m_caps, m_mapping);
    return previous;
}

// Extents only take effect under MM_ANISOTROPIC, as the fixed modes
// define their own; a zero extent would make the mapping singular.
void CDC::SetWindowExt(int cx, int cy) {
    if (m_mapping.nMode != MM_ANISOTROPIC || cx == 0 || cy == 0)
        return;
    m_mapping.nWindowExtX = cx;
    m_mapping.nWindowExtY = cy;
}

void CDC::SetViewportExt(int cx, int cy) {
    if (m_mapping.nMode != MM_ANISOTROPIC || cx == 0 || cy == 0)
        return;
    m_mapping.nViewportExtX = cx;
    m_mapping.nViewportExtY = cy;
}

void CDC::SetViewportOrg(int x, int y) {
    m_mapping.nViewportOrgX = x;
    m_mapping.nViewportOrgY = y;
}

int CDC::GetDeviceCaps(int index) const {
    switch (index) {
    case HORZRES:
        return m_caps.nHorzRes;
    case VERTRES:
        return m_caps.nVertRes;
    case HORZSIZE:
        return m_caps.nHorzSizeMm;
    case VERTSIZE:
        return m_caps.nVertSizeMm;
    case LOGPIXELSY:
        return m_caps.nLogPixelsY;
    default:
        return 0;
    }
}

int CDC::PointFontHeight(int tenthsOfPoint) const {
    const double devicePixels = static_cast<double>(m_caps.nLogPixelsY) * tenthsOfPoint / 720.0;
    const double scale = std::abs(ScaleY(m_mapping));
    if (scale == 0)
        return 0;
    return static_cast<int>(std::lround(devicePixels / scale));
}

LOGPEN CDC::SelectPen(const LOGPEN& pen) {
    LOGPEN previous = m_pen;
    m_pen = pen;
    return previous;
}

std::optional<COLORREF> CDC::SelectBrush(std::optional<COLORREF> brush) {
    auto previous = m_brush;
    m_brush = brush;
    return previous;
}

LOGFONT CDC::SelectFont(const LOGFONT& font) {
    LOGFONT previous = m_font;
    m_font = font;
    return previous;
}

COLORREF CDC::SetTextColor(COLORREF colour) {
    const COLORREF previous = m_crText;
    m_crText = colour;
    return previous;
}

void CDC::MoveTo(POINT pt) {
    m_ptCurrent = pt;
    OnMoveTo(pt);
}

void CDC::LineTo(POINT pt) {
    OnLine(m_ptCurrent, pt);
    m_ptCurrent = pt;
}

void CDC::Polyline(std::span<const POINT> points) {
    if (points.size() >= 2)
        OnPolyline(points);
}

void CDC::FillRect(const RECT& rc, COLORREF colour) {
    OnFillRect(rc, colour);
}

void CDC::RoundRect(const RECT& rc, int ellipseWidth, int ellipseHeight) {
    OnRoundRect(rc, ellipseWidth, ellipseHeight);
}

void CDC::Ellipse(const RECT& rc) {
    OnEllipse(rc);
}

void CDC::DrawText(std::string_view text, const RECT& rc, unsigned format) {
    if (!text.empty())
        OnDrawText(text, rc, format);
}

void CDC::StretchBitmap(unsigned resourceId, const RECT& rc) {
    OnStretchBitmap(resourceId, rc);
}

} // namespace render
