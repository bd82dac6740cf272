#include "render/DrawCalibration.h"

namespace render {

std::array<POINT, 6> CalibrationPulsePoints(int x, int y, int width, int height, int yDir,
                                            bool onBaseline) {
    const int rise = height * yDir;
    const int y0 = onBaseline ? y : y + rise;
    return {POINT{x, y0},
            POINT{x + width, y0},
            POINT{x + width, y0 - rise},
            POINT{x + 2 * width, y0 - rise},
            POINT{x + 2 * width, y0},
            POINT{x + 3 * width, y0}};
}

PulseSize CalibrationPulseSize(int tenthSecondUnits, int fullScaleHeight) {
    return {static_cast<int>(static_cast<float>(tenthSecondUnits) / 1.5),
            static_cast<int>(fullScaleHeight * 0.05)};
}

void CDrawCalibration::SetPulseSize(int width, int height) {
    m_nWidth = width;
    m_nHeight = height;
}

void CDrawCalibration::DrawPulse(int x, int y, int bOnBaseline) {
    m_points = CalibrationPulsePoints(x, y, m_nWidth, m_nHeight, GetYDir(), bOnBaseline != 0);
    CDC* pDC = GetDC();
    if (pDC == nullptr)
        return;
    CPenScope pen(*pDC, m_pen);
    pDC->Polyline(m_points);
}

} // namespace render
