// The records of the main window's list as a Qt model: the model owns the
// record objects; items carry no text, the delegate paints thumbnails.
#pragma once

#include "records/RecordList.h"

#include <QAbstractListModel>

namespace ui {

class CRecordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    records::CECGContentsData* Record(int row) const;
    records::CECGContentsData* Record(const QModelIndex& index) const {
        return Record(index.row());
    }
    int RowOf(const records::CECGContentsData* record) const;
    const records::RecordPtrs& Records() const { return m_records; }

    // Replaces every record; the old ones are destroyed.
    void Reset(records::RecordPtrs records);
    // Reorders in a sort mode; selections and the current item follow
    // their records.
    void Sort(int mode);
    // The item changed its look (print mark).
    void NotifyChanged(int row);

private:
    records::RecordPtrs m_records;
};

} // namespace ui
