#include "ui/PagedTarget.h"

namespace ui {

CPagedTarget::CPagedTarget(QPagedPaintDevice& device) : m_device(device) {
    // The paper measures its texts while the page is set up, before the
    // first page starts, so the painter opens at once.
    if (m_painter.begin(&m_device))
        m_dc = std::make_unique<QPainterDC>(m_painter, true);
}

void CPagedTarget::StartPage() {
    if (m_nPages++ > 0)
        m_device.newPage();
}

void CPagedTarget::EndDoc() {
    if (m_painter.isActive())
        m_painter.end();
}

} // namespace ui
