// The record list's thumbnails: drawn by one preview paper when the list
// first shows a record, kept in slots until the cache is full, then all
// dropped at once and drawn again as records come into view.
#pragma once

#include "app/GraphOption.h"
#include "render/PreviewPaper.h"

#include <QImage>
#include <QSize>

#include <functional>
#include <vector>

namespace records {
class CECGContentsData;
}

namespace ui {

class CThumbnailCache {
public:
    // The cache never holds more than this many bytes of images, whatever
    // the slot limit: a thumbnail is four thousand pixels wide.
    static constexpr qsizetype kMaxBytes = 32 * 1024 * 1024;

    CThumbnailCache();

    void SetFramework(const app::CECGFramework* framework) { m_preview.SetFramework(framework); }
    // The settings' slot limit ("MaxImageListSize"); 0 or less: only the
    // byte bound applies.
    void SetLimit(int maxImages) { m_nLimit = maxImages; }
    void SetColours(const app::CGraphOption& options) { m_colours = options.colours; }
    // Called for every record when the cache drops its images, so each
    // forgets its slot.
    void SetForgetAll(std::function<void()> forgetAll) { m_forgetAll = std::move(forgetAll); }

    QSize ThumbnailSize() const { return m_size; }
    // The effective number of slots.
    int Capacity() const;
    int Count() const { return m_nCount; }
    // Thumbnails drawn since construction.
    int DrawCount() const { return m_nDrawn; }

    // The record's thumbnail, drawn now when it has no slot yet.
    const QImage& Thumbnail(records::CECGContentsData& record);
    // Draws the record's thumbnail again into its slot (the print mark
    // changed).
    void Redraw(records::CECGContentsData& record);
    void Clear();

private:
    void Draw(records::CECGContentsData& record, QImage& image);
    void DrawInto(records::CECGContentsData& record, QImage& target);

    render::CPreviewPaper m_preview;
    std::array<app::COLORREF, app::kColourCount> m_colours{};
    QSize m_size;
    // Images once drawn stay allocated for reuse; the first m_nCount hold
    // thumbnails.
    std::vector<QImage> m_images;
    QImage m_scratch;
    int m_nCount = 0;
    int m_nLimit = 0;
    int m_nDrawn = 0;
    std::function<void()> m_forgetAll;
};

} // namespace ui
