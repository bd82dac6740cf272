// The device context over a QPainter: draws the papers into widgets,
// QImage, QPrinter, QPdfWriter and QSvgGenerator. Logical coordinates are
// mapped to device coordinates point by point, so text always reads upright
// even on y-up mappings.
#pragma once

#include "render/CDC.h"

#include <QFont>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QPaintDevice;
class QPainter;

namespace ui {

// Registers the font substitutions for the faces the papers ask for by
// name: the Japanese faces fall back to IPAexGothic, Latin ones to DejaVu
// Sans. The first QPainterDC does it; calling it again is harmless.
void InstallFontSubstitutions();

// Size and resolution of a paint device as the papers see them.
render::DeviceCaps DeviceCapsOf(const QPaintDevice& device);

// <share folder>/Artwork: the SVG files of the bitmaps, named <id>.svg.
std::string DefaultArtworkFolder();

class QPainterDC : public render::CDC {
public:
    // The painter must be active on its device and outlive this object.
    QPainterDC(QPainter& painter, bool printing,
               std::string artworkFolder = DefaultArtworkFolder());

    bool IsPrinting() const override { return m_bPrinting; }

    // Text width in logical units of the current mapping, from the font
    // engine; the papers take it as their text measure.
    std::function<int(std::string_view, const render::LOGFONT&)> Measure() const;

protected:
    void OnLine(render::POINT from, render::POINT to) override;
    void OnPolyline(std::span<const render::POINT> points) override;
    void OnFillRect(const render::RECT& rc, render::COLORREF colour) override;
    void OnRoundRect(const render::RECT& rc, int ellipseWidth, int ellipseHeight) override;
    void OnEllipse(const render::RECT& rc) override;
    void OnDrawText(std::string_view text, const render::RECT& rc, unsigned format) override;
    void OnStretchBitmap(unsigned resourceId, const render::RECT& rc) override;

private:
    QFont DeviceFont(const render::LOGFONT& lf) const;
    QPointF Map(render::POINT pt) const;
    QRectF MapRect(const render::RECT& rc) const;
    // Applies the selected pen and brush to the painter.
    void PreparePainter(bool withBrush);

    QPainter& m_painter;
    // The pen, scale and brush last given to the painter.
    bool m_bStateValid = false;
    render::LOGPEN m_appliedPen;
    double m_dAppliedScale = 0;
    std::optional<render::COLORREF> m_appliedBrush;
    bool m_bPrinting;
    std::string m_strArtworkFolder;
};

} // namespace ui
