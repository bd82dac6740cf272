#include "ui/RecordListModel.h"

#include <unordered_map>

namespace ui {

int CRecordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_records.size());
}

QVariant CRecordListModel::data(const QModelIndex&, int) const {
    return {};
}

records::CECGContentsData* CRecordListModel::Record(int row) const {
    if (row < 0 || row >= rowCount())
        return nullptr;
    return m_records[static_cast<std::size_t>(row)].get();
}

int CRecordListModel::RowOf(const records::CECGContentsData* record) const {
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].get() == record)
            return static_cast<int>(i);
    }
    return -1;
}

void CRecordListModel::Reset(records::RecordPtrs records) {
    beginResetModel();
    m_records = std::move(records);
    endResetModel();
}

void CRecordListModel::Sort(int mode) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<const records::CECGContentsData*> held;
    held.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before)
        held.push_back(Record(index));
    records::SortRecords(m_records, mode);
    std::unordered_map<const records::CECGContentsData*, int> rows;
    for (std::size_t i = 0; i < m_records.size(); ++i)
        rows.emplace(m_records[i].get(), static_cast<int>(i));
    QModelIndexList after;
    after.reserve(before.size());
    for (const records::CECGContentsData* record : held) {
        const auto found = rows.find(record);
        after.push_back(found == rows.end() ? QModelIndex() : index(found->second));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CRecordListModel::NotifyChanged(int row) {
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed);
}

} // namespace ui
