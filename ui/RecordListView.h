// The record list of the main window: one column of thumbnails of every
// record file in the data folder, newest names first, filtered by the
// search switches. It keeps the framework's lists of listed and selected
// records, toggles print marks and asks for records to be opened.
#pragma once

#include "ui/RecordListModel.h"
#include "ui/ThumbnailCache.h"

#include <QListView>

namespace app {
class CECGFramework;
}

namespace ui {

class CSinora2Doc;
class CThumbnailDelegate;

class CSinora2View : public QListView {
    Q_OBJECT
public:
    static constexpr QColor kBackground{224, 224, 224};

    CSinora2View(app::CECGFramework& framework, CSinora2Doc& document, QWidget* parent = nullptr);

    // Marks kept by path, the data folder gathered, the filter applied,
    // descending sort-key order, the first item selected and focused.
    void Refill();
    // Mode as records::kSortBy...; the same mode twice without force
    // reverses it.
    void Sort(int mode, bool force);
    int SortMode() const { return m_nSortMode; }
    void SelectAll(bool select);

    int RecordCount() const { return m_model.rowCount(); }
    int SelectedItemCount() const;
    bool AnyMarked() const;
    const CRecordListModel& Model() const { return m_model; }
    CThumbnailCache& Thumbnails() { return m_cache; }
    // The rectangle of an item's icon, in viewport coordinates.
    QRect IconRect(int row) const;

    // The print-mark box relative to an icon rectangle, edges included.
    static bool IsInPrintMarkBox(QPoint relative);

signals:
    // After every change of the selection; `single` is the record when
    // exactly one is selected.
    void SelectionUpdated(const records::CECGContentsData* single);
    // A refill that found no record.
    void RefilledEmpty();
    void MarksChanged();
    void OpenRecord(records::CECGContentsData* record);
    void OpenSelected();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnSelectionChanged();
    void ApplyGraphOptions();

    app::CECGFramework& m_framework;
    CSinora2Doc& m_document;
    CRecordListModel m_model;
    CThumbnailCache m_cache;
    CThumbnailDelegate* m_pDelegate;
    int m_nSortMode = records::kSortByTimeDescending;
    bool m_bDoubleClicked = false;
};

} // namespace ui
