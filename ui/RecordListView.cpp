#include "ui/RecordListView.h"

#include "app/ECGFramework.h"
#include "records/RecordFolder.h"
#include "ui/Sinora2Doc.h"
#include "ui/ThumbnailDelegate.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <set>
#include <utility>

namespace ui {

namespace {

// The print mark's box inside an icon rectangle.
constexpr int kMarkLeft = 22;
constexpr int kMarkRight = 50;
constexpr int kMarkTop = 12;
constexpr int kMarkBottom = 40;

class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

CSinora2View::CSinora2View(app::CECGFramework& framework, CSinora2Doc& document, QWidget* parent)
    : QListView(parent), m_framework(framework), m_document(document), m_model(this),
      m_pDelegate(new CThumbnailDelegate(m_model, m_cache, this)) {
    m_cache.SetFramework(&m_framework);
    m_cache.SetForgetAll([this] {
        for (const auto& record : m_model.Records())
            record->ForgetImageSlot();
    });
    setModel(&m_model);
    setItemDelegate(m_pDelegate);
    // A single column of thumbnails that never moves or wraps; uniform
    // sizes keep a folder of thousands quick to lay out.
    setViewMode(QListView::IconMode);
    setFlow(QListView::TopToBottom);
    setWrapping(false);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setSpacing(0);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionRectVisible(false);
    setDragEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, kBackground);
    setPalette(colours);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CSinora2View::OnSelectionChanged);
}

void CSinora2View::ApplyGraphOptions() {
    const app::CECGOptions& options = m_framework.GetOptions();
    m_cache.SetColours(options);
    m_cache.SetLimit(options.maxImageListSize);
}

void CSinora2View::Refill() {
    std::set<std::string> marked;
    for (const auto& record : m_model.Records()) {
        if (record->IsChecked())
            marked.insert(record->GetPath());
    }
    const app::CECGOptions& options = m_framework.GetOptions();
    m_document.m_strDataFolder = options.dirHdd;

    setUpdatesEnabled(false);
    // The framework's lists borrow the records about to be destroyed.
    m_framework.ClearListed();
    m_framework.ClearSelected();
    m_model.Reset({});
    m_cache.Clear();
    ApplyGraphOptions();

    records::RecordPtrs found;
    if (!m_document.m_strDataFolder.empty()) {
        const WaitCursor wait;
        found = records::GatherRecordFolder(m_document.m_strDataFolder);
        records::LoadAll(found);
        records::FilterRecords(found, options.searchColumns);
    }
    // The framework keeps the folder's order: printing marked records
    // walks it.
    for (const auto& record : found)
        m_framework.AppendListed(record.get());
    m_nSortMode = records::kSortByKeyDescending;
    records::SortRecords(found, m_nSortMode);
    for (const auto& record : found) {
        if (marked.contains(record->GetPath()))
            record->ToggleChecked();
    }
    m_model.Reset(std::move(found));
    setUpdatesEnabled(true);

    if (m_model.rowCount() > 0) {
        const QModelIndex first = m_model.index(0);
        selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect);
        scrollTo(first);
    } else {
        OnSelectionChanged();
        emit RefilledEmpty();
    }
    setFocus();
}

void CSinora2View::Sort(int mode, bool force) {
    if (mode == m_nSortMode && !force)
        mode |= 1;
    m_nSortMode = mode;
    m_model.Sort(mode);
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

void CSinora2View::SelectAll(bool select) {
    const WaitCursor wait;
    if (select)
        selectAll();
    else
        clearSelection();
}

int CSinora2View::SelectedItemCount() const {
    return static_cast<int>(selectionModel()->selectedIndexes().size());
}

bool CSinora2View::AnyMarked() const {
    return std::any_of(m_model.Records().begin(), m_model.Records().end(),
                       [](const auto& record) { return record->IsChecked(); });
}

QRect CSinora2View::IconRect(int row) const {
    return m_pDelegate->IconRect(visualRect(m_model.index(row)).topLeft());
}

bool CSinora2View::IsInPrintMarkBox(QPoint relative) {
    return relative.x() >= kMarkLeft && relative.x() <= kMarkRight && relative.y() >= kMarkTop &&
           relative.y() <= kMarkBottom;
}

void CSinora2View::OnSelectionChanged() {
    m_framework.ClearSelected();
    QModelIndexList rows = selectionModel()->selectedIndexes();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& index : rows)
        m_framework.AppendSelected(m_model.Record(index));
    emit SelectionUpdated(rows.size() == 1 ? m_model.Record(rows.front()) : nullptr);
    viewport()->update();
}

void CSinora2View::mouseReleaseEvent(QMouseEvent* event) {
    QListView::mouseReleaseEvent(event);
    // The second click of a double click opens the record; it does not
    // toggle the mark back.
    const bool secondClick = std::exchange(m_bDoubleClicked, false);
    if (event->button() != Qt::LeftButton || secondClick)
        return;
    const QPoint at = event->position().toPoint();
    const QModelIndex index = indexAt(at);
    records::CECGContentsData* record = m_model.Record(index);
    if (record == nullptr)
        return;
    const QRect icon = IconRect(index.row());
    if (!icon.contains(at) || !IsInPrintMarkBox(at - icon.topLeft()))
        return;
    record->ToggleChecked();
    m_cache.Redraw(*record);
    m_model.NotifyChanged(index.row());
    emit MarksChanged();
}

void CSinora2View::mouseDoubleClickEvent(QMouseEvent* event) {
    QListView::mouseDoubleClickEvent(event);
    m_bDoubleClicked = true;
    if (records::CECGContentsData* record = m_model.Record(indexAt(event->position().toPoint())))
        emit OpenRecord(record);
}

void CSinora2View::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit OpenSelected();
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace ui
