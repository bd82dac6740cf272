#include "render/PaperBase.h"

#include "render/DrawCalibration.h"
#include "render/DrawGrid.h"
#include "render/DrawLine.h"

#include <stdexcept>

namespace render {

CPaperBase::CPaperBase(int mapMode)
    : m_nMapMode(mapMode), m_nYDir(mapMode == MM_TEXT ? 1 : -1),
      m_pGrid(std::make_unique<CDrawGrid>(this)), m_pLine(std::make_unique<CDrawLine>(this)),
      m_pCalibration(std::make_unique<CDrawCalibration>(this)) {}

CPaperBase::~CPaperBase() = default;

// A screen shows 320 mm of a 0.1 mm paper across its full width with 4:3
// proportions, so a page looks the same on any monitor; a printer keeps
// true millimetres.
void CPaperBase::ApplyMapping() {
    m_pDC->SetMapMode(m_nMapMode);
    if (!m_pDC->IsPrinting() && m_nMapMode != MM_TEXT) {
        const int h = m_pDC->GetDeviceCaps(HORZRES);
        m_pDC->SetMapMode(MM_ANISOTROPIC);
        m_pDC->SetWindowExt(3200, 2400);
        m_pDC->SetViewportExt(h, -(h * 75 / 100));
    }
}

void CPaperBase::SetDC(CDC* pDC) {
    m_pDC = pDC;
    if (m_pDC != nullptr)
        ApplyMapping();
    InitPage(pDC);
}

CDC* CPaperBase::GetDC() {
    if (m_pDC != nullptr)
        ApplyMapping();
    return m_pDC;
}

void CPaperBase::SetPaperRect(RECT rc) {
    m_rcPaper = rc;
    Layout(m_rcPaper);
}

void CPaperBase::SetPaperSize(int cx, int cy) {
    m_rcPaper.right = m_rcPaper.left + cx;
    m_rcPaper.bottom = m_rcPaper.top + cy;
    Layout(m_rcPaper);
}

void CPaperBase::Draw(const RECT* pRect) {
    if (pRect != nullptr) {
        m_rcPaper = *pRect;
        Layout(m_rcPaper);
    }
    BeginDraw(m_rcPaper);
    // BeginDraw and DrawArea may change the areas: read the count afresh.
    for (std::size_t i = 0; i < m_areas.size(); ++i) {
        if (m_areas[i].bDraw != 0)
            DrawArea(static_cast<int>(i), m_areas[i].rc);
    }
    EndDraw();
}

CPaperBase::PAPER_AREA& CPaperBase::AreaAt(int index) {
    if (index < 0 || index >= GetAreaCount())
        throw std::invalid_argument("paper area index out of range");
    return m_areas[static_cast<std::size_t>(index)];
}

int CPaperBase::AddArea(int left, int top, int right, int bottom, int bDraw) {
    m_areas.push_back({RECT{left, top, right, bottom}, bDraw});
    return GetAreaCount() - 1;
}

int CPaperBase::AddEmptyArea(int bDraw) {
    m_areas.push_back({RECT{}, bDraw});
    return GetAreaCount() - 1;
}

void CPaperBase::SetAreaRect(int index, int left, int top, int right, int bottom) {
    AreaAt(index).rc = {left, top, right, bottom};
}

RECT CPaperBase::GetAreaRect(int index) const {
    if (index < 0 || index >= GetAreaCount())
        throw std::invalid_argument("paper area index out of range");
    return m_areas[static_cast<std::size_t>(index)].rc;
}

void CPaperBase::TruncateAreas(int count) {
    if (count < 0)
        throw std::invalid_argument("negative paper area count");
    if (count < GetAreaCount())
        m_areas.resize(static_cast<std::size_t>(count));
}

} // namespace render
