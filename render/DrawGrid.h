// Draws the millimetre grid of an area in three levels (1 mm, 5 mm, one
// second) and its frame, continuing the line phases across contiguous areas.
#pragma once

#include "render/DrawBase.h"

#include <array>
#include <optional>

namespace render {

struct GridSpacing {
    double dX = 0; // across
    double dY = 0; // up
};

class CDrawGrid : public CDrawBase {
public:
    enum Level { kLevel1, kLevel2, kLevel3, kLevelCount };

    explicit CDrawGrid(CPaperBase* pPaper);

    void SetGridSpacing(std::optional<GridSpacing> level1, std::optional<GridSpacing> level2,
                        std::optional<GridSpacing> level3);
    void SetGridPens(const LOGPEN* pLevel1, const LOGPEN* pLevel2, const LOGPEN* pLevel3,
                     const LOGPEN* pFrame);
    void SetGridLevels(int bLevel1, int bLevel2, int bHorizontal, int bLevel3, int bFrame);
    void SetPhaseReset(int bLevel1, int bLevel2, int bLevel3);
    void SetFrameSides(int bLeft, int bTop, int bRight, int bBottom);

    // A fresh grid: phases reset first.
    void DrawGrid(int left, int top, int right, int bottom);
    // Draws with the current phases and leaves those the next contiguous
    // area (to the right or below) needs to continue without a seam.
    void DrawGridContinue(int left, int top, int right, int bottom);

    GridSpacing GetGridSpacing(int level) const { return m_spacing[level]; }
    POINT GetPhase(int level) const { return m_phase[level]; }
    const LOGPEN& GetGridPen(int index) const { return m_pens[index]; }

private:
    void DrawFrame(CDC& dc, const RECT& rc);

    std::array<LOGPEN, 4> m_pens;
    std::array<GridSpacing, kLevelCount> m_spacing;
    std::array<POINT, kLevelCount> m_phase;
    int m_bLevel1 = 1;
    int m_bLevel2 = 1;
    int m_bHorizontal = 1;
    int m_bLevel3 = 1;
    int m_bFrame = 1;
    std::array<int, kLevelCount> m_bPhaseReset{0, 0, 0};
    int m_bFrameLeft = 1;
    int m_bFrameTop = 1;
    int m_bFrameBottom = 1;
    int m_bFrameRight = 1;
};

} // namespace render
