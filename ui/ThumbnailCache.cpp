#include "ui/ThumbnailCache.h"

#include "records/ECGContentsData.h"
#include "ui/QPainterDC.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace ui {

namespace {

// Five pixels per millimetre both ways, as the list has always drawn them.
constexpr double kPixelsPerMm = 5.0;

} // namespace

CThumbnailCache::CThumbnailCache() : m_preview(kPixelsPerMm, kPixelsPerMm) {
    // The paper's rectangle follows from the device's text metrics, so it
    // is measured on a scratch image once.
    QImage scratch(8, 8, QImage::Format_RGB32);
    QPainter painter(&scratch);
    QPainterDC dc(painter, false);
    m_preview.SetTextMeasure(dc.Measure());
    m_preview.SetData(nullptr);
    m_preview.SetDC(&dc);
    const render::RECT rc = m_preview.GetPaperRect();
    m_size = QSize(std::abs(rc.right - rc.left), std::abs(rc.bottom - rc.top));
    // The measure lives with the scratch painter; each drawing lends its own.
    m_preview.SetTextMeasure(nullptr);
}

int CThumbnailCache::Capacity() const {
    const qsizetype bytes = std::max<qsizetype>(1, qsizetype{m_size.width()} * m_size.height() * 2);
    const int byBytes = static_cast<int>(std::max<qsizetype>(1, kMaxBytes / bytes));
    return m_nLimit > 0 ? std::min(m_nLimit, byBytes) : byBytes;
}

const QImage& CThumbnailCache::Thumbnail(records::CECGContentsData& record) {
    if (!record.IsLoaded())
        record.Load();
    if (record.HasImageSlot() && record.GetImageSlot() >= 0 && record.GetImageSlot() < Count())
        return m_images[static_cast<std::size_t>(record.GetImageSlot())];
    if (Count() >= Capacity())
        Clear();
    if (m_nCount == static_cast<int>(m_images.size()))
        m_images.emplace_back(m_size, QImage::Format_RGB16);
    QImage& image = m_images[static_cast<std::size_t>(m_nCount)];
    Draw(record, image);
    record.SetImageSlot(m_nCount++);
    return image;
}

void CThumbnailCache::Redraw(records::CECGContentsData& record) {
    if (record.HasImageSlot() && record.GetImageSlot() >= 0 && record.GetImageSlot() < Count())
        Draw(record, m_images[static_cast<std::size_t>(record.GetImageSlot())]);
}

void CThumbnailCache::Clear() {
    m_nCount = 0;
    // Images beyond a lowered limit are not needed again.
    if (static_cast<int>(m_images.size()) > Capacity())
        m_images.resize(static_cast<std::size_t>(Capacity()));
    if (m_forgetAll)
        m_forgetAll();
}

void CThumbnailCache::Draw(records::CECGContentsData& record, QImage& image) {
    if (m_scratch.size() != m_size)
        m_scratch = QImage(m_size, QImage::Format_RGB32);
    m_scratch.fill(Qt::white);
    DrawInto(record, m_scratch);
    image = m_scratch.convertToFormat(QImage::Format_RGB16);
}

void CThumbnailCache::DrawInto(records::CECGContentsData& record, QImage& target) {
    QPainter painter(&target);
    QPainterDC dc(painter, false);
    m_preview.SetTextMeasure(dc.Measure());
    m_preview.ApplyGraphOptions(m_colours);
    m_preview.SetData(&record);
    m_preview.SetDC(&dc);
    m_preview.Draw();
    m_preview.SetTextMeasure(nullptr);
    ++m_nDrawn;
}

} // namespace ui
