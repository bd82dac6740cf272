// The common part of the grid, waveform and calibration drawers: the paper
// they belong to, from which they borrow the device context and the
// vertical direction of its logical coordinates.
#pragma once

#include "render/CDC.h"

namespace render {

class CPaperBase;

class CDrawBase {
public:
    explicit CDrawBase(CPaperBase* pPaper) : m_pPaper(pPaper) {}
    virtual ~CDrawBase() = default;
    CDrawBase(const CDrawBase&) = delete;
    CDrawBase& operator=(const CDrawBase&) = delete;

protected:
    // The paper's device context with its mapping re-applied; null if none.
    CDC* GetDC() const;
    // +1 when logical y grows downwards, -1 when upwards.
    int GetYDir() const;

    CPaperBase* m_pPaper;
};

// Selects a pen for one drawing operation and puts the previous one back.
class CPenScope {
public:
    CPenScope(CDC& dc, const LOGPEN& pen) : m_dc(dc), m_previous(dc.SelectPen(pen)) {}
    ~CPenScope() { m_dc.SelectPen(m_previous); }
    CPenScope(const CPenScope&) = delete;
    CPenScope& operator=(const CPenScope&) = delete;

private:
    CDC& m_dc;
    LOGPEN m_previous;
};

} // namespace render
