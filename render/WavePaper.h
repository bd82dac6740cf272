// The wave window's on-screen copy of the report page: the report's areas
// on a white sheet lying on a grey desk, at the window's zoom and
// sensitivity.
#pragma once

#include "render/ReportPaper.h"

namespace app {
class CECGFramework;
}

namespace render {

// The scroll page of the wave view, in logical units.
struct PageSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const PageSize&) const = default;
};

class CWavePaper : public CPrintPaper {
public:
    CWavePaper();

    // The framework that keeps the display sensitivity for the report
    // (borrowed; null: the paper keeps it alone).
    void SetFramework(app::CECGFramework* pFramework) { m_pFramework = pFramework; }

    // Lays the page out in the rectangle the window passes (negative right
    // and bottom: the sheet at the current zoom, y upwards).
    void SetContents(int left, int top, int right, int bottom);
    // Any positive percent; others are ignored.
    void SetZoom(int percent);
    // 0 = 20 mm/mV, 1 = 10 mm/mV, 2 = 5 mm/mV; shown at the next SetContents.
    void SetSensitivity(int index);
    // Half a second of trace across, 88.5 mm of paper down.
    PageSize GetPageSize() const;

    // The sheet in 0.1 mm at zoom 100, for the window's scroll area.
    const RECT& GetSheetSize() const { return m_rcSheet; }
    int GetZoom() const { return m_nZoom; }
    int GetFontZoom() const { return m_nFontZoom; }
    int GetSensitivity() const { return m_nSensitivity; }

protected:
    void InitPage(CDC* pDC) override;
    void Layout(RECT rc) override;
    void BeginDraw(RECT rc) override;
    void DrawArea(int index, RECT rc) override;
    void EndDraw() override;

private:
    // Full-scale height of the trace for a sensitivity at zoom 150, where
    // the window opens.
    int FullScaleFor(int index) const;

    RECT m_rcSheet{0, 0, 2060, 2970};
    app::CECGFramework* m_pFramework = nullptr;
};

} // namespace render
