// Draws a waveform strip from the paper's samples: one segment per device
// column (the mean of the samples on it), held inside a clip band, with
// marker samples drawn flat; and a simple polyline for thumbnails.
#pragma once

#include "render/DrawBase.h"

#include <optional>

namespace render {

struct MinMax {
    double dMin = 0;
    double dMax = 0;
};

class CDrawLine : public CDrawBase {
public:
    explicit CDrawLine(CPaperBase* pPaper) : CDrawBase(pPaper) {}

    void SetPen(const LOGPEN& pen) { m_pen = pen; }
    const LOGPEN& GetPen() const { return m_pen; }

    // The buffer is borrowed and must outlive the drawing calls.
    void SetSamples(const double* pSamples, int nCount);
    void SetRange(int first, int last);
    void SetXScale(int xSamples, int xUnits);
    void SetYScale(double fullScaleValue, int fullScaleUnits);
    void SetCenter(double value) { m_dCenter = value; }
    void SetFixedCenter(int bFixed) { m_bFixedCenter = bFixed; }
    void SetMarkerValues(double low, double high);
    void SetMarkerChecks(int bLowCheck, int bHighCheck);

    // Minimum and maximum of samples [from, to) leaving out marker samples;
    // nullopt for an empty range.
    std::optional<MinMax> GetMinMax(int from, int to) const;

    // Next sample index, or -1 when there is nothing to draw. Only the top
    // and bottom of the clip rectangle are used: one unbroken line, whose
    // columns outside that band lie on its edge.
    int DrawStrip(const RECT& rcStrip, const RECT& rcClip, int zoomPercent);
    int DrawSimple(const RECT& rcStrip);

    double GetCenter() const { return m_dCenter; }
    int GetStart() const { return m_nStart; }
    int GetEnd() const { return m_nEnd; }
    int GetCurrent() const { return m_nCurrent; }
    int GetXOffset() const { return m_nXOffset; }

private:
    // False when the scale or the range leaves nothing that can be drawn.
    bool CanDraw() const;
    double MarkerFree(double v, double low, double high) const;

    LOGPEN m_pen{PS_SOLID, 1, RGB(0, 0, 0)};
    const double* m_pSamples = nullptr;
    int m_nCount = 0;
    double m_dCenter = 0;
    double m_dLowMarker = 0;
    double m_dHighMarker = 0;
    int m_bFixedCenter = 0;
    int m_bLowCheck = 0;
    int m_bHighCheck = 0;
    double m_dFullScaleValue = 100.0;
    int m_nFullScaleUnits = 100;
    int m_nXSamples = 100;
    int m_nXUnits = 100;
    int m_nStart = 0;
    int m_nEnd = 0;
    int m_nCurrent = 0;
    int m_nXOffset = 0;
};

} // namespace render
