// The page information a print job lends the report paper while it prints:
// the page range, the page being printed and the printable rectangle.
#pragma once

#include "render/Mapping.h"

namespace render {

struct CPrintInfo {
    // Set by the paper: the job prints without a dialog of its own per page.
    bool m_bDirect = false;
    int m_nMinPage = 1;
    int m_nMaxPage = 0xFFFF;
    // 1-based, as a print dialog counts pages.
    int m_nCurPage = 1;
    RECT m_rectDraw;

    void SetMaxPage(int page) { m_nMaxPage = page; }
};

} // namespace render
