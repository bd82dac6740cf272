// The base of every paper: a rectangle in logical units divided into
// numbered areas, drawn one after another into a borrowed device context
// whose mapping the paper sets up.
#pragma once

#include "render/CDC.h"

#include <memory>
#include <vector>

namespace render {

class CDrawGrid;
class CDrawLine;
class CDrawCalibration;

class CPaperBase {
public:
    struct PAPER_AREA {
        RECT rc;
        int bDraw = 0;
    };

    // mapMode: MM_TEXT (pixels, y down) or MM_LOMETRIC (0.1 mm, y up).
    explicit CPaperBase(int mapMode);
    virtual ~CPaperBase();
    CPaperBase(const CPaperBase&) = delete;
    CPaperBase& operator=(const CPaperBase&) = delete;

    // Lends the device context (kept until the next SetDC), applies the
    // mapping and runs InitPage.
    void SetDC(CDC* pDC);
    // The device context with the mapping re-applied, or null.
    CDC* GetDC();

    void SetPaperRect(RECT rc);
    void SetPaperSize(int cx, int cy);
    const RECT& GetPaperRect() const { return m_rcPaper; }
    // With a rectangle: lay out anew first. Without: the previous layout.
    void Draw(const RECT* pRect = nullptr);

    int GetMapMode() const { return m_nMapMode; }
    int GetYDir() const { return m_nYDir; }

    // Area indexes outside the array throw std::invalid_argument and change nothing.
    int AddArea(int left, int top, int right, int bottom, int bDraw);
    int AddEmptyArea(int bDraw);
    void SetAreaRect(int index, int left, int top, int right, int bottom);
    RECT GetAreaRect(int index) const;
    void TruncateAreas(int count);
    void RemoveAllAreas() { m_areas.clear(); }
    int GetAreaCount() const { return static_cast<int>(m_areas.size()); }

    CDrawGrid& GetGrid() { return *m_pGrid; }
    CDrawLine& GetLine() { return *m_pLine; }
    CDrawCalibration& GetCalibration() { return *m_pCalibration; }

protected:
    virtual void InitPage(CDC* /*pDC*/) {}
    virtual void Layout(RECT /*rc*/) {}
    virtual void BeginDraw(RECT /*rc*/) {}
    virtual void DrawArea(int /*index*/, RECT /*rc*/) {}
    virtual void EndDraw() {}

    RECT m_rcPaper;
    CDC* m_pDC = nullptr;
    int m_nMapMode;
    int m_nYDir;
    std::vector<PAPER_AREA> m_areas;
    std::unique_ptr<CDrawGrid> m_pGrid;
    std::unique_ptr<CDrawLine> m_pLine;
    std::unique_ptr<CDrawCalibration> m_pCalibration;

private:
    void ApplyMapping();
    PAPER_AREA& AreaAt(int index);
};

} // namespace render
