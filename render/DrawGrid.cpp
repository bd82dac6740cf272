#include "render/DrawGrid.h"

#include "render/GridGeometry.h"

namespace render {

CDrawGrid::CDrawGrid(CPaperBase* pPaper)
    : CDrawBase(pPaper), m_pens{LOGPEN{PS_SOLID, 1, RGB(0, 0, 255)},
                                LOGPEN{PS_SOLID, 1, RGB(0, 255, 0)},
                                LOGPEN{PS_SOLID, 2, RGB(255, 0, 0)},
                                LOGPEN{PS_SOLID, 2, RGB(0, 0, 0)}},
      m_spacing{GridSpacing{4, 4}, GridSpacing{20, 20}, GridSpacing{100, 0}} {
    const int d = GetYDir();
    for (int level = 0; level < kLevelCount; ++level)
        m_phase[level] = GridStartPhase(m_spacing[level].dX, m_spacing[level].dY, d, false);
}

void CDrawGrid::SetGridSpacing(std::optional<GridSpacing> level1, std::optional<GridSpacing> level2,
                               std::optional<GridSpacing> level3) {
    if (level1)
        m_spacing[kLevel1] = *level1;
    if (level2)
        m_spacing[kLevel2] = *level2;
    if (level3)
        m_spacing[kLevel3] = *level3;
}

void CDrawGrid::SetGridPens(const LOGPEN* pLevel1, const LOGPEN* pLevel2, const LOGPEN* pLevel3,
                            const LOGPEN* pFrame) {
    const LOGPEN* pens[] = {pLevel1, pLevel2, pLevel3, pFrame};
    for (int i = 0; i < 4; ++i) {
        if (pens[i] != nullptr)
            m_pens[i] = *pens[i];
    }
}

void CDrawGrid::SetGridLevels(int bLevel1, int bLevel2, int bHorizontal, int bLevel3, int bFrame) {
    m_bLevel1 = bLevel1;
    m_bLevel2 = bLevel2;
    m_bHorizontal = bHorizontal;
    m_bLevel3 = bLevel3;
    m_bFrame = bFrame;
}

void CDrawGrid::SetPhaseReset(int bLevel1, int bLevel2, int bLevel3) {
    m_bPhaseReset = {bLevel1, bLevel2, bLevel3};
}

void CDrawGrid::SetFrameSides(int bLeft, int bTop, int bRight, int bBottom) {
    m_bFrameLeft = bLeft;
    m_bFrameTop = bTop;
    m_bFrameRight = bRight;
    m_bFrameBottom = bBottom;
}

void CDrawGrid::DrawGrid(int left, int top, int right, int bottom) {
    const int d = GetYDir();
    for (int level = 0; level < kLevelCount; ++level)
        m_phase[level] =
            GridStartPhase(m_spacing[level].dX, m_spacing[level].dY, d, m_bPhaseReset[level] != 0);
    DrawGridContinue(left, top, right, bottom);
}

void CDrawGrid::DrawGridContinue(int left, int top, int right, int bottom) {
    CDC* pDC = GetDC();
    if (pDC == nullptr)
        return;
    const RECT rc{left, top, right, bottom};
    const int d = GetYDir();
    const int switches[kLevelCount] = {m_bLevel1, m_bLevel2, m_bLevel3};
    for (int level = 0; level < kLevelCount; ++level) {
        if (switches[level] == 0)
            continue;
        const GridLevelLines grid = ComputeGridLevel(rc, static_cast<int>(m_spacing[level].dX),
                                                     static_cast<int>(m_spacing[level].dY),
                                                     m_phase[level], d, m_bHorizontal != 0);
        CPenScope pen(*pDC, m_pens[level]);
        for (const LineSegment& line : grid.lines) {
            pDC->MoveTo(line.from);
            pDC->LineTo(line.to);
        }
        m_phase[level] = grid.phase;
    }
    if (m_bFrame != 0)
        DrawFrame(*pDC, rc);
}

void CDrawGrid::DrawFrame(CDC& dc, const RECT& rc) {
    CPenScope pen(dc, m_pens[3]);
    auto side = [&dc](int on, POINT from, POINT to) {
        if (on == 0)
            return;
        dc.MoveTo(from);
        dc.LineTo(to);
    };
    side(m_bFrameLeft, {rc.left, rc.top}, {rc.left, rc.bottom});
    side(m_bFrameTop, {rc.left, rc.top}, {rc.right, rc.top});
    side(m_bFrameRight, {rc.right, rc.top}, {rc.right, rc.bottom});
    side(m_bFrameBottom, {rc.left, rc.bottom}, {rc.right, rc.bottom});
}

} // namespace render
