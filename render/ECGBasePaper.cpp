#include "render/ECGBasePaper.h"

#include "platform/ResourceText.h"
#include "render/DrawCalibration.h"
#include "render/DrawGrid.h"
#include "render/DrawLine.h"

namespace render {

namespace {

constexpr unsigned kPaperFaceText = 10001;

constexpr std::array<LOGPEN, 6> kDefaultPens{
    LOGPEN{PS_SOLID, 1, RGB(255, 255, 255)}, LOGPEN{PS_SOLID, 1, RGB(247, 247, 247)},
    LOGPEN{PS_SOLID, 2, RGB(230, 230, 230)}, LOGPEN{PS_SOLID, 1, RGB(240, 240, 240)},
    LOGPEN{PS_SOLID, 1, RGB(0, 0, 0)},       LOGPEN{PS_SOLID, 1, RGB(0, 0, 0)}};

} // namespace

CECGBasePaper::CECGBasePaper(int mapMode, double unitsPerMmX, double unitsPerMmY)
    : CPaperBase(mapMode), m_pens(kDefaultPens) {
    if (unitsPerMmX >= 1 && unitsPerMmY >= 1)
        SetUnitsPerMm(unitsPerMmX, unitsPerMmY);
    m_dSpeedFactor = 5;
    m_dUnitsPerSecX = m_dSpeedFactor * m_dUnits5mmX;
    m_dGainFactor = 40;
    PushGridSpacing();
    PushDrawSettings();
}

void CECGBasePaper::SetData(const records::CECGContentsData* pRecord) {
    m_pRecord = pRecord;
    const int count = pRecord != nullptr ? pRecord->GetSampleCount() : 0;
    m_pSamples = std::make_unique<double[]>(static_cast<std::size_t>(count > 0 ? count : 0));
    m_nSamples = count > 0 ? count : 0;
    for (int i = 0; i < m_nSamples; ++i)
        m_pSamples[i] = static_cast<double>(static_cast<std::int16_t>(pRecord->GetSample(i).value));
    m_pLine->SetSamples(m_pSamples.get(), m_nSamples);
    OnDataSet(m_pRecord, m_pSamples.get(), m_nSamples);
}

const LOGFONT& CECGBasePaper::SetFontSize(int tenthsOfPoint) {
    m_font = LOGFONT{};
    m_font.lfFaceName = platform::LoadText(kPaperFaceText);
    if (CDC* pDC = GetDC())
        m_font.lfHeight = pDC->PointFontHeight(tenthsOfPoint);
    return m_font;
}

void CECGBasePaper::SetUnitsPerMm(double x, double y) {
    m_dUnitsPerMmX = x;
    m_dUnits5mmX = 5 * x;
    m_dUnitsPerMmY = y;
    m_dUnits5mmY = 5 * y;
    m_dUnitsPerSecX = 25 * x;
    m_dLevel3Y = 0;
}

void CECGBasePaper::SetSpeedFactor(double f) {
    m_dSpeedFactor = f;
    m_dUnitsPerSecX = f * m_dUnits5mmX;
    PushGridSpacing();
}

void CECGBasePaper::PushGridSpacing() {
    m_pGrid->SetGridSpacing(GridSpacing{m_dUnitsPerMmX, m_dUnitsPerMmY},
                            GridSpacing{m_dUnits5mmX, m_dUnits5mmY},
                            GridSpacing{m_dUnitsPerSecX, m_dLevel3Y});
}

void CECGBasePaper::PushDrawSettings() {
    PushGridSpacing();
    m_pGrid->SetGridPens(&m_pens[kPenGrid1], &m_pens[kPenGrid5], &m_pens[kPenGrid25],
                         &m_pens[kPenFrame]);
    m_pLine->SetPen(m_pens[kPenWave]);
    m_pCalibration->SetPen(m_pens[kPenCalibration]);
}

void CECGBasePaper::ApplyGraphOptions(std::array<app::COLORREF, app::kColourCount> /*colours*/) {
    PushDrawSettings();
}

} // namespace render
