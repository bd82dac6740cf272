// The device context every paper and drawer draws into: logical
// coordinates under a mapping mode, pens, point fonts, text in rectangles,
// lines, fills and artwork. Implemented over QPainter (ui/) and by a
// recorder of primitives (RecordingDC) for tests.
#pragma once

#include "render/Mapping.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace render {

using COLORREF = std::uint32_t;

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(COLORREF c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

enum PenStyle { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_NULL = 5 };

// A pen as the papers describe it: width in logical units (0 and 1 give
// the thinnest line the device can draw).
struct LOGPEN {
    int lopnStyle = PS_SOLID;
    int lopnWidth = 1;
    COLORREF lopnColor = 0;
    bool operator==(const LOGPEN&) const = default;
};

enum FontWeight { FW_NORMAL = 400, FW_BOLD = 700 };

// A font: the face by name and the character height in logical units.
struct LOGFONT {
    std::string lfFaceName;
    int lfHeight = 0;
    int lfWeight = FW_NORMAL;
    bool lfItalic = false;
    bool operator==(const LOGFONT&) const = default;
};

// Text alignment inside a DrawText rectangle.
enum DrawTextFormat : unsigned {
    DT_TOP = 0x0000,
    DT_LEFT = 0x0000,
    DT_CENTER = 0x0001,
    DT_RIGHT = 0x0002,
    DT_VCENTER = 0x0004,
    DT_BOTTOM = 0x0008,
    DT_WORDBREAK = 0x0010,
    DT_SINGLELINE = 0x0020,
    DT_NOCLIP = 0x0100,
};

enum DeviceCap { HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, LOGPIXELSY = 90 };

class CDC {
public:
    explicit CDC(const DeviceCaps& caps) : m_caps(caps) {}
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Mapping. Changing the mode to MM_TEXT or MM_LOMETRIC resets the
    // extents to that mode's own; MM_ANISOTROPIC keeps the current ones
    // until SetWindowExt / SetViewportExt replace them.
    int SetMapMode(int mode);
    int GetMapMode() const { return m_mapping.nMode; }
    void SetWindowExt(int cx, int cy);
    void SetViewportExt(int cx, int cy);
    void SetViewportOrg(int x, int y);
    const Mapping& GetMapping() const { return m_mapping; }
    DevicePoint LPtoDP(POINT pt) const { return render::LPtoDP(m_mapping, pt); }

    int GetDeviceCaps(int index) const;
    virtual bool IsPrinting() const = 0;

    // The character height in logical units of a font of the given size in
    // tenths of a point, through the device's LOGPIXELSY and the current mapping.
    int PointFontHeight(int tenthsOfPoint) const;

    // Select* return the previous selection so a drawer can restore it.
    LOGPEN SelectPen(const LOGPEN& pen);
    const LOGPEN& GetPen() const { return m_pen; }
    // nullopt: shapes are not filled.
    std::optional<COLORREF> SelectBrush(std::optional<COLORREF> brush);
    const std::optional<COLORREF>& GetBrush() const { return m_brush; }
    LOGFONT SelectFont(const LOGFONT& font);
    const LOGFONT& GetFont() const { return m_font; }
    COLORREF SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const { return m_crText; }

    void MoveTo(int x, int y) { MoveTo(POINT{x, y}); }
    void MoveTo(POINT pt);
    void LineTo(int x, int y) { LineTo(POINT{x, y}); }
    void LineTo(POINT pt);
    POINT GetCurrentPosition() const { return m_ptCurrent; }
    void Polyline(std::span<const POINT> points);
    void FillRect(const RECT& rc, COLORREF colour);
    // Outline with the current pen, filled with the current brush.
    void RoundRect(const RECT& rc, int ellipseWidth, int ellipseHeight);
    void Ellipse(const RECT& rc);
    void DrawText(std::string_view text, const RECT& rc, unsigned format);
    // The artwork of a resource id stretched over the rectangle; an id
    // without artwork draws nothing.
    void StretchBitmap(unsigned resourceId, const RECT& rc);

protected:
    virtual void OnLine(POINT from, POINT to) = 0;
    virtual void OnPolyline(std::span<const POINT> points) = 0;
    virtual void OnFillRect(const RECT& rc, COLORREF colour) = 0;
    virtual void OnRoundRect(const RECT& rc, int ellipseWidth, int ellipseHeight) = 0;
    virtual void OnEllipse(const RECT& rc) = 0;
    virtual void OnDrawText(std::string_view text, const RECT& rc, unsigned format) = 0;
    virtual void OnStretchBitmap(unsigned resourceId, const RECT& rc) = 0;
    // Moves without drawing are only of interest to the recorder.
    virtual void OnMoveTo(POINT) {}

private:
    DeviceCaps m_caps;
    Mapping m_mapping = MappingFor(MM_TEXT, m_caps);
    LOGPEN m_pen;
    std::optional<COLORREF> m_brush;
    LOGFONT m_font;
    COLORREF m_crText = 0;
    POINT m_ptCurrent{0, 0};
};

} // namespace render
