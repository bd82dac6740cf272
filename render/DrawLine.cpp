#include "render/DrawLine.h"

#include "render/StripGeometry.h"

#include <algorithm>
#include <cstdlib>

namespace render {

void CDrawLine::SetSamples(const double* pSamples, int nCount) {
    m_pSamples = pSamples;
    m_nCount = pSamples != nullptr ? std::max(nCount, 0) : 0;
    // The range starts at the first sample even for an empty record, so no
    // drawing call can ever read in front of the buffer.
    m_nStart = m_nCurrent = 0;
    m_nEnd = m_nCount;
    m_nXOffset = SampleOffset(m_nStart, m_nXUnits, m_nXSamples);
}

void CDrawLine::SetRange(int first, int last) {
    m_nStart = m_nCount > 0 ? std::clamp(first, 0, m_nCount - 1) : 0;
    m_nEnd = (last > 0 && last <= m_nCount) ? last : m_nCount;
    m_nCurrent = m_nStart;
    m_nXOffset = SampleOffset(m_nStart, m_nXUnits, m_nXSamples);
}

void CDrawLine::SetXScale(int xSamples, int xUnits) {
    m_nXSamples = xSamples;
    m_nXUnits = xUnits;
}

void CDrawLine::SetYScale(double fullScaleValue, int fullScaleUnits) {
    m_dFullScaleValue = fullScaleValue;
    m_nFullScaleUnits = fullScaleUnits;
}

void CDrawLine::SetMarkerValues(double low, double high) {
    m_dLowMarker = low;
    m_dHighMarker = high;
}

void CDrawLine::SetMarkerChecks(int bLowCheck, int bHighCheck) {
    m_bLowCheck = bLowCheck;
    m_bHighCheck = bHighCheck;
}

std::optional<MinMax> CDrawLine::GetMinMax(int from, int to) const {
    if (from >= m_nCount || from == to)
        return std::nullopt;
    constexpr double kNoMin = 2147483647.0;
    constexpr double kNoMax = -2147483648.0;
    const int limit = (to > 0 && to <= m_nCount) ? to : m_nCount;
    double lo = kNoMin;
    double hi = kNoMax;
    for (int i = std::max(from, 0); i < limit; ++i) {
        const double v = m_pSamples[i];
        if (!(m_bLowCheck != 0 && v == m_dLowMarker))
            lo = std::min(lo, v);
        if (!(m_bHighCheck != 0 && v == m_dHighMarker))
            hi = std::max(hi, v);
    }
    if (lo == kNoMin)
        lo = m_bLowCheck != 0 ? m_dLowMarker : 0;
    if (hi == kNoMax)
        hi = m_bHighCheck != 0 ? m_dHighMarker : 0;
    return MinMax{std::min(hi, lo), hi};
}

bool CDrawLine::CanDraw() const {
    return m_pSamples != nullptr && m_nCount > 0 && m_nXSamples > 0 && m_nXUnits > 0 &&
           m_dFullScaleValue != 0;
}

double CDrawLine::MarkerFree(double v, double low, double high) const {
    if (m_bLowCheck != 0 && v == m_dLowMarker)
        v = low;
    if (m_bHighCheck != 0 && v == m_dHighMarker)
        v = high;
    return v;
}

int CDrawLine::DrawStrip(const RECT& rcStrip, const RECT& rcClip, int zoomPercent) {
    if (!CanDraw() || zoomPercent <= 0)
        return -1;
    m_nCurrent = m_nStart;
    m_nXOffset = SampleOffset(m_nStart, m_nXUnits, m_nXSamples);
    if (m_nStart >= m_nCount)
        return -1;
    CDC* pDC = GetDC();
    if (pDC == nullptr)
        return -1;

    const int left = rcStrip.left;
    const int right = rcStrip.right;
    const int last =
        std::min(m_nEnd, LastSampleInStrip(m_nXOffset, left, right, m_nXUnits, m_nXSamples));
    const MinMax strip = GetMinMax(m_nStart, last).value_or(MinMax{});
    const MinMax overall = GetMinMax(0, m_nCount).value_or(MinMax{});
    const double centre = (overall.dMax + std::min(overall.dMax, overall.dMin)) / 2;
    m_dCenter = centre;

    // Each strip is shifted so that its own middle value sits on the
    // strip's middle line.
    const double z = zoomPercent / 100.0;
    const double offset = (centre - (strip.dMin + strip.dMax) / 2) * z;
    double lowDraw = 0;
    double highDraw = 0;
    if (m_bLowCheck != 0 || m_bHighCheck != 0 || m_bFixedCenter == 0) {
        const int half = std::abs(std::abs(rcStrip.top) - std::abs(rcStrip.bottom)) / 2;
        lowDraw = centre - half / z;
        highDraw = centre + half / z;
    }

    const int d = GetYDir();
    const int mid = (rcStrip.top + rcStrip.bottom) / 2;
    // A column outside the band is drawn on its edge, so the trace stays one
    // unbroken line that follows the edge while it is cut.
    const int bandLow = std::min(rcClip.top, rcClip.bottom);
    const int bandHigh = std::max(rcClip.top, rcClip.bottom);
    CPenScope pen(*pDC, m_pen);
    bool firstColumn = true;
    int column = 0;
    int n = 0; // samples in the column so far
    double sumY = 0.0;
    const auto drawColumn = [&] {
        const int y = std::clamp(static_cast<int>(sumY / n), bandLow, bandHigh);
        if (firstColumn)
            pDC->MoveTo(column, y);
        else
            pDC->LineTo(column, y);
        firstColumn = false;
    };
    int curX = 0;
    bool started = false;
    int j = m_nCurrent;
    for (; j <= last; ++j) {
        if (j >= m_nCount || (started && curX >= right))
            break;
        started = true;
        curX = SampleColumn(left, right, j, m_nCurrent, m_nXUnits, m_nXSamples);
        double v = m_pSamples[j];
        double rowOffset = offset;
        if (m_bLowCheck != 0 && v == m_dLowMarker) {
            v = lowDraw;
            rowOffset = 0;
        }
        if (m_bHighCheck != 0 && v == m_dHighMarker) {
            v = highDraw;
            rowOffset = 0;
        }
        const int dy = static_cast<int>(m_nFullScaleUnits * (v - centre) / m_dFullScaleValue) * d;
        const int y = static_cast<int>(mid - dy + rowOffset);
        if (n > 0 && curX == column) {
            ++n;
            sumY += y;
            continue;
        }
        if (n > 0)
            drawColumn();
        column = curX;
        sumY = y;
        n = 1;
    }
    if (n > 0)
        drawColumn();
    m_nCurrent = std::min(j, last);
    m_nXOffset += right - left;
    return m_nCurrent;
}

int CDrawLine::DrawSimple(const RECT& rcStrip) {
    if (!CanDraw())
        return -1;
    const int left = rcStrip.left;
    const int right = rcStrip.right;
    m_nCurrent = m_nStart;
    m_nXOffset = SampleOffset(m_nStart, m_nXUnits, m_nXSamples);
    const int span = LastSampleInStrip(m_nXOffset, left, right, m_nXUnits, m_nXSamples) - m_nStart;
    if (m_nCurrent >= m_nCount)
        return -1;
    CDC* pDC = GetDC();
    if (pDC == nullptr)
        return -1;
    const int last = std::min(m_nEnd, m_nCurrent + span);

    MinMax range;
    if (m_bLowCheck != 0 || m_bHighCheck != 0 || m_bFixedCenter == 0) {
        range = GetMinMax(m_nCurrent, last).value_or(MinMax{});
        if (m_bFixedCenter == 0)
            m_dCenter = (range.dMin + range.dMax) / 2;
    }

    const int d = GetYDir();
    const int mid = (rcStrip.top + rcStrip.bottom) / 2;
    CPenScope pen(*pDC, m_pen);
    int curX = 0;
    bool started = false;
    int j = m_nCurrent;
    for (; j <= last; ++j) {
        if (j >= m_nCount || (started && curX >= right))
            break;
        curX = SampleColumn(left, right, j, m_nCurrent, m_nXUnits, m_nXSamples);
        const double v = MarkerFree(m_pSamples[j], range.dMin, range.dMax);
        const int dy =
            static_cast<int>((v - m_dCenter) * m_nFullScaleUnits / m_dFullScaleValue) * d;
        int y = mid - dy;
        if (d * y < d * rcStrip.top)
            y = rcStrip.top;
        else if (d * y > d * rcStrip.bottom)
            y = rcStrip.bottom;
        if (started)
            pDC->LineTo(curX, y);
        else
            pDC->MoveTo(curX, y);
        started = true;
    }
    m_nCurrent = std::min(j, last);
    m_nXOffset += right - left;
    return m_nCurrent;
}

} // namespace render
