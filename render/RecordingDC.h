// A device context that draws nothing and keeps every primitive in logical
// coordinates, with the pen, brush and font in force, so tests can check
// exactly what a paper or drawer produced.
#pragma once

#include "render/CDC.h"

#include <string>
#include <vector>

namespace render {

struct Primitive {
    enum Kind { kMoveTo, kLine, kPolyline, kFillRect, kRoundRect, kEllipse, kText, kBitmap };
    Kind kind = kMoveTo;
    // kMoveTo: one point; kLine: from and to; kPolyline: every point.
    std::vector<POINT> points;
    RECT rc;
    LOGPEN pen;
    std::optional<COLORREF> brush;
    COLORREF colour = 0; // fill colour, or text colour for kText
    LOGFONT font;
    std::string strText;
    unsigned nFormat = 0; // DrawText format, or the resource id for kBitmap
    int nCornerX = 0;
    int nCornerY = 0;
    bool operator==(const Primitive&) const = default;
};

class RecordingDC : public CDC {
public:
    explicit RecordingDC(const DeviceCaps& caps, bool printing = false)
        : CDC(caps), m_bPrinting(printing) {}

    bool IsPrinting() const override { return m_bPrinting; }

    const std::vector<Primitive>& Primitives() const { return m_primitives; }
    // The primitives of one kind, in drawing order.
    std::vector<Primitive> OfKind(Primitive::Kind kind) const;
    void Clear() { m_primitives.clear(); }

protected:
    void OnMoveTo(POINT pt) override;
    void OnLine(POINT from, POINT to) override;
    void OnPolyline(std::span<const POINT> points) override;
    void OnFillRect(const RECT& rc, COLORREF colour) override;
    void OnRoundRect(const RECT& rc, int ellipseWidth, int ellipseHeight) override;
    void OnEllipse(const RECT& rc) override;
    void OnDrawText(std::string_view text, const RECT& rc, unsigned format) override;
    void OnStretchBitmap(unsigned resourceId, const RECT& rc) override;

private:
    Primitive& Add(Primitive::Kind kind);

    bool m_bPrinting;
    std::vector<Primitive> m_primitives;
};

} // namespace render
