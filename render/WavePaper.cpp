#include "render/WavePaper.h"

#include "app/ECGFramework.h"
#include "render/DrawCalibration.h"
#include "render/DrawGrid.h"
#include "render/DrawLine.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace render {

namespace {

constexpr std::array<LOGPEN, 6> kScreenPens{
    LOGPEN{PS_SOLID, 1, RGB(247, 247, 247)}, LOGPEN{PS_SOLID, 4, RGB(240, 240, 240)},
    LOGPEN{PS_SOLID, 4, RGB(230, 230, 230)}, LOGPEN{PS_SOLID, 4, RGB(230, 230, 230)},
    LOGPEN{PS_SOLID, 2, RGB(0, 0, 0)},       LOGPEN{PS_SOLID, 2, RGB(153, 153, 153)}};

constexpr COLORREF kDesk = RGB(224, 224, 224);
// Text keeps its nominal size on a screen this many pixels wide.
constexpr double kNominalScreenWidth = 1280.0;

// The areas sit 15 to 18 units lower than on the printed A4 report.
constexpr int kWaveTop = -998;

} // namespace

CWavePaper::CWavePaper() {
    m_pens = kScreenPens;
    PushDrawSettings();
    m_nCurrentPage = 0;
    m_nSensitivity = kSensitivity10;
    m_nZoom = 100;
    m_nFontZoom = 100;
    m_pGrid->SetGridLevels(1, 1, 1, 1, 1);
    m_pGrid->SetPhaseReset(1, 1, 0);
    m_pGrid->SetFrameSides(1, 1, 1, 1);
}

void CWavePaper::InitPage(CDC* pDC) {
    CPrintPaper::InitPage(pDC);
    SetFontSize(120);
}

void CWavePaper::Layout(RECT /*rc*/) {}

void CWavePaper::SetZoom(int percent) {
    if (percent <= 0)
        return;
    m_nZoom = percent;
    const double unitsPerMm = percent / 100.0 * 10;
    SetUnitsPerMm(unitsPerMm, unitsPerMm);
    PushDrawSettings();
}

int CWavePaper::FullScaleFor(int index) const {
    switch (index) {
    case kSensitivity20:
        return 6000;
    case kSensitivity10:
        return 3000;
    case kSensitivity5:
        return 1500;
    default:
        return GetFullScaleHeight();
    }
}

void CWavePaper::SetSensitivity(int index) {
    m_nSensitivity = index;
    if (m_pFramework != nullptr)
        m_pFramework->SetSensitivity(index);
    m_nFullScale = FullScaleFor(index);
}

PageSize CWavePaper::GetPageSize() const {
    return PageSize{static_cast<int>(5.0 * 0.5 * m_dUnits5mmX),
                    static_cast<int>(m_nZoom * 885.0 / 100)};
}

void CWavePaper::SetContents(int left, int top, int right, int bottom) {
    const RECT paper{0, 0, std::abs(right) - std::abs(left), std::abs(top) - std::abs(bottom)};

    m_pLine->SetMarkerValues(0, 2047.0);
    m_pLine->SetMarkerChecks(1, 1);
    m_pGrid->SetPhaseReset(1, 1, 0);
    m_pGrid->SetGridLevels(1, 1, 1, 1, 1);
    m_pGrid->SetFrameSides(1, 1, 1, 1);

    SetWindowMs(m_pRecord != nullptr ? m_pRecord->GetViewStartMs() : 0,
                m_pRecord != nullptr ? m_pRecord->GetViewEndMs() : 0);
    const long long rate = m_nSampleRate;

    SetSpeedFactor(5.0);
    SetGainFactor(40.0);
    m_dSamplesPerStrip = rate > 0 ? static_cast<double>(rate) * 7.0 : 0.0;
    m_nWindowLength = m_nWindowEnd - m_nWindowStart;

    if (m_pFramework != nullptr)
        m_pFramework->SetSensitivity(m_nSensitivity);
    const int height = FullScaleFor(m_nSensitivity);

    const int xUnits =
        rate > 0 ? static_cast<int>(static_cast<double>(m_nWindowLength) / rate * m_dUnitsPerSecX)
                 : 0;
    m_pLine->SetXScale(rate > 0 ? m_nWindowLength : 0, xUnits);

    // The heights are those of zoom 150; at zoom 100 they are the report's.
    m_nFullScale = static_cast<int>(static_cast<float>(height) / (150.0f / m_nZoom));
    m_pLine->SetYScale(2047.0, m_nFullScale);
    const int pulseHeight = static_cast<int>(m_nFullScale * 0.05);
    m_pCalibration->SetPulseSize(static_cast<int>(static_cast<float>(SecondsToUnits(0.1)) / 1.5),
                                 pulseHeight);

    static constexpr PageLayout kScreenPage{
        {200, -85, 1950, -150},
        {200, -300, 1950, -980},
        {200, -236, 780, -280},
        {200, -190, 920, -230},
        {200, kWaveTop, 1950, -2798},
        {200, -150, 1950, kWaveTop},
        {200, -2808, 1950, -2908},
        {{{50, 350}, {400, 700}, {750, 1050}, {1100, 1400}, {1450, 1750}}}};
    AddPageAreas(kScreenPage);
    SetAreaRect(kAreaCalibration, 200, kWaveTop, 1950, kWaveTop - pulseHeight);

    LayoutStrips(kScreenPage);

    SetPaperRect(paper);
}

void CWavePaper::BeginDraw(RECT rc) {
    if (CDC* pDC = GetDC()) {
        const int z = m_nZoom;
        pDC->FillRect(RECT{0, 0, 50000, -50000}, kDesk);
        const RECT sheet{rc.left + z * 26 / 100, rc.top - z * 26 / 100, rc.right + z * 14 / 100,
                         rc.bottom + z * 36 / 100};
        pDC->FillRect(sheet, m_crPaper);
        const std::array<POINT, 5> outline{
            POINT{sheet.left, sheet.bottom}, POINT{sheet.left, sheet.top},
            POINT{sheet.right, sheet.top}, POINT{sheet.right, sheet.bottom},
            POINT{sheet.left, sheet.bottom}};
        pDC->Polyline(outline);
        m_nFontZoom = static_cast<int>(pDC->GetDeviceCaps(HORZRES) / kNominalScreenWidth * 100);
    }

    AddPageStrips();
}

void CWavePaper::DrawArea(int index, RECT rc) {
    if (index == kAreaMemo) {
        DrawMemo(rc, 0, 0); // the window shows the large body picture
        return;
    }
    CPrintPaper::DrawArea(index, rc);
}

void CWavePaper::EndDraw() {
    SelectPaperFont();
}

} // namespace render
