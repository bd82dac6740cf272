#include "ui/ThumbnailDelegate.h"

#include "ui/RecordListModel.h"
#include "ui/ThumbnailCache.h"

#include <QPainter>

namespace ui {

namespace {

constexpr QColor kSelectionBlue{0, 120, 215};
constexpr int kFramePen = 3;

} // namespace

CThumbnailDelegate::CThumbnailDelegate(const CRecordListModel& model, CThumbnailCache& cache,
                                       QObject* parent)
    : QStyledItemDelegate(parent), m_model(model), m_cache(cache) {}

QRect CThumbnailDelegate::IconRect(QPoint itemTopLeft) const {
    const QSize size = m_cache.ThumbnailSize();
    return QRect(itemTopLeft, QSize(kImageLeft + size.width() + 2, kImageTop + size.height()));
}

QSize CThumbnailDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    const QSize size = m_cache.ThumbnailSize();
    return QSize(size.width() + 18, size.height() + 8);
}

void CThumbnailDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    records::CECGContentsData* record = m_model.Record(index);
    if (record == nullptr)
        return;
    const QRect icon = IconRect(option.rect.topLeft());
    painter->drawImage(icon.topLeft() + QPoint(kImageLeft, kImageTop), m_cache.Thumbnail(*record));
    if (!(option.state & QStyle::State_Selected))
        return;
    // The frame's outer line in the background colour first, so the blue
    // line stands clear of the thumbnail next to it.
    const QColor background = option.palette.color(QPalette::Base);
    painter->save();
    painter->setBrush(Qt::NoBrush);
    const int l = icon.left(), t = icon.top(), r = icon.left() + icon.width(),
              b = icon.top() + icon.height();
    painter->setPen(QPen(background, kFramePen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter->drawRect(QRect(QPoint(l + 5, t - 1), QPoint(r + 1, b + 1)));
    painter->setPen(QPen(kSelectionBlue, kFramePen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter->drawRect(QRect(QPoint(l + 5, t + 1), QPoint(r + 1, b)));
    painter->restore();
}

} // namespace ui
