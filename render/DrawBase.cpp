#include "render/DrawBase.h"

#include "render/PaperBase.h"

namespace render {

CDC* CDrawBase::GetDC() const {
    return m_pPaper != nullptr ? m_pPaper->GetDC() : nullptr;
}

int CDrawBase::GetYDir() const {
    return m_pPaper != nullptr ? m_pPaper->GetYDir() : 1;
}

} // namespace render
