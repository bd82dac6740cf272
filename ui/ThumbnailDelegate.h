// Paints one item of the record list: the record's cached thumbnail, and a
// blue frame around it while the item is selected.
#pragma once

#include <QStyledItemDelegate>

namespace ui {

class CRecordListModel;
class CThumbnailCache;

class CThumbnailDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Where the thumbnail sits inside its item's icon rectangle; the print
    // mark's click box is measured from the icon rectangle.
    static constexpr int kImageLeft = 8;
    static constexpr int kImageTop = 4;

    CThumbnailDelegate(const CRecordListModel& model, CThumbnailCache& cache, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The icon rectangle of an item whose rectangle starts at `itemTopLeft`.
    QRect IconRect(QPoint itemTopLeft) const;

private:
    const CRecordListModel& m_model;
    CThumbnailCache& m_cache;
};

} // namespace ui
