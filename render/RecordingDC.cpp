#include "render/RecordingDC.h"

namespace render {

std::vector<Primitive> RecordingDC::OfKind(Primitive::Kind kind) const {
    std::vector<Primitive> result;
    for (const Primitive& p : m_primitives) {
        if (p.kind == kind)
            result.push_back(p);
    }
    return result;
}

Primitive& RecordingDC::Add(Primitive::Kind kind) {
    Primitive& p = m_primitives.emplace_back();
    p.kind = kind;
    p.pen = GetPen();
    p.brush = GetBrush();
    p.font = GetFont();
    return p;
}

void RecordingDC::OnMoveTo(POINT pt) {
    Add(Primitive::kMoveTo).points = {pt};
}

void RecordingDC::OnLine(POINT from, POINT to) {
    Add(Primitive::kLine).points = {from, to};
}

void RecordingDC::OnPolyline(std::span<const POINT> points) {
    Add(Primitive::kPolyline).points.assign(points.begin(), points.end());
}

void RecordingDC::OnFillRect(const RECT& rc, COLORREF colour) {
    Primitive& p = Add(Primitive::kFillRect);
    p.rc = rc;
    p.colour = colour;
}

void RecordingDC::OnRoundRect(const RECT& rc, int ellipseWidth, int ellipseHeight) {
    Primitive& p = Add(Primitive::kRoundRect);
    p.rc = rc;
    p.nCornerX = ellipseWidth;
    p.nCornerY = ellipseHeight;
}

void RecordingDC::OnEllipse(const RECT& rc) {
    Add(Primitive::kEllipse).rc = rc;
}

void RecordingDC::OnDrawText(std::string_view text, const RECT& rc, unsigned format) {
    Primitive& p = Add(Primitive::kText);
    p.rc = rc;
    p.strText = std::string(text);
    p.nFormat = format;
    p.colour = GetTextColor();
}

void RecordingDC::OnStretchBitmap(unsigned resourceId, const RECT& rc) {
    Primitive& p = Add(Primitive::kBitmap);
    p.rc = rc;
    p.nFormat = resourceId;
}

} // namespace render
