// Draws the 1 mV calibration pulse: a rectangular step with a flat
// lead-in, top and lead-out, each one segment width wide.
#pragma once

#include "render/DrawBase.h"

#include <array>

namespace render {

// The six polyline points of a pulse at (x, y): y is the baseline when
// onBaseline, else the pulse's top. yDir is the paper's vertical direction.
std::array<POINT, 6> CalibrationPulsePoints(int x, int y, int width, int height, int yDir,
                                            bool onBaseline);

struct PulseSize {
    int nWidth = 0;
    int nHeight = 0;
    bool operator==(const PulseSize&) const = default;
};

// The pulse for a paper scale: each segment a fifteenth of a second wide
// (from the units of a tenth of a second), 1 mV high, that is 5 % of the
// full-scale height.
PulseSize CalibrationPulseSize(int tenthSecondUnits, int fullScaleHeight);

class CDrawCalibration : public CDrawBase {
public:
    explicit CDrawCalibration(CPaperBase* pPaper) : CDrawBase(pPaper) {}

    void SetPen(const LOGPEN& pen) { m_pen = pen; }
    const LOGPEN& GetPen() const { return m_pen; }
    void SetPulseSize(int width, int height);
    void DrawPulse(int x, int y, int bOnBaseline);
    const std::array<POINT, 6>& GetPoints() const { return m_points; }

private:
    LOGPEN m_pen{PS_SOLID, 2, RGB(255, 0, 0)};
    int m_nWidth = 0;
    int m_nHeight = 0;
    std::array<POINT, 6> m_points{};
};

} // namespace render
