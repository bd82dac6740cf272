#include "ui/SinoraView.h"

#include "app/ECGFramework.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "records/SearchFilter.h"
#include "ui/Artwork.h"
#include "ui/RecordListView.h"
#include "ui/Sinora2Doc.h"
#include "ui/Translate.h"
#include "ui/dialogs/SearchDlg.h"
#include "ui/dialogs/UIFontTable.h"

#include <QFontMetrics>
#include <QLabel>
#include <QResizeEvent>

#include <algorithm>

namespace ui {

namespace {

constexpr unsigned kTextTitle = 62120;
constexpr unsigned kTextCount = 62121;
constexpr unsigned kTextCountOver = 62122;
constexpr unsigned kTextSelectAll = 62123;
constexpr unsigned kTextSelectNone = 62124;
constexpr unsigned kTextSearch = 62125;
constexpr unsigned kArtSearch = 349;
constexpr unsigned kArtDelete = 355;
constexpr unsigned kArtSearchActive = 357;
constexpr int kCountShownMax = 99999;
constexpr int kFontHeader = 1;
constexpr int kFontTitle = 4;
constexpr int kButtonTop = 8;
constexpr int kButtonHeight = 32;
constexpr QSize kIconSize{20, 20};
constexpr QColor kBackground{224, 224, 224};

QString Text(unsigned id) {
    return QString::fromStdString(platform::LoadText(id));
}

QString CountText(int n) {
    if (n > kCountShownMax)
        return Text(kTextCountOver);
    return QString::fromStdString(
        platform::FormatText(platform::LoadText(kTextCount), {std::int64_t{n}}));
}

// White face with black text, or the active blue with white text.
void SetButtonLook(QPushButton* button, bool active) {
    button->setStyleSheet(active ? "QPushButton { background: rgb(0, 94, 184); color: white;"
                                   " border: 1px solid rgb(0, 70, 140); border-radius: 3px; }"
                                   "QPushButton:focus { border: 2px solid rgb(0, 49, 83); }"
                                 : "QPushButton { background: white; color: black;"
                                   " border: 1px solid rgb(180, 180, 180); border-radius: 3px; }"
                                   "QPushButton:disabled { color: rgb(128, 128, 128); }"
                                   "QPushButton:focus { border: 2px solid rgb(0, 120, 215); }"
                                   "QPushButton:pressed { background: rgb(229, 241, 251); }");
}

QPushButton* MakeButton(unsigned id, QWidget* parent) {
    auto* button = new QPushButton(parent);
    SetControlId(button, id);
    button->setIconSize(kIconSize);
    SetButtonLook(button, false);
    return button;
}

} // namespace

CSinoraView::CSinoraView(app::CECGFramework& framework, CSinora2Doc& document, QWidget* parent)
    : QWidget(parent), m_framework(framework), m_document(document) {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackground);
    setPalette(colours);

    m_pTitle = new QLabel(this);
    SetControlId(m_pTitle, 101);
    m_pCount = new QLabel(this);
    SetControlId(m_pCount, 102);
    m_btnDelete = MakeButton(103, this);
    m_btnDelete->setIcon(ArtworkIcon(kArtDelete, kIconSize));
    m_btnSelectAll = MakeButton(104, this);
    m_btnSearch = MakeButton(105, this);
    m_btnSearch->setIcon(ArtworkIcon(kArtSearch, kIconSize));

    m_pList = new CSinora2View(framework, document, this);
    connect(m_btnDelete, &QPushButton::clicked, this, &CSinoraView::OnDelete);
    connect(m_btnSelectAll, &QPushButton::clicked, this, &CSinoraView::OnSelectAll);
    connect(m_btnSearch, &QPushButton::clicked, this, &CSinoraView::OnSearch);
    connect(m_pList, &CSinora2View::SelectionUpdated, this, &CSinoraView::UpdateSelectionCount);
    connect(m_pList, &CSinora2View::RefilledEmpty, this, &CSinoraView::UpdateSelectionCount);
    setTabOrder(m_pList, m_btnDelete);
    setTabOrder(m_btnDelete, m_btnSelectAll);
    setTabOrder(m_btnSelectAll, m_btnSearch);

    ApplyUIFont(this, kFontHeader, true);
    ApplyUIFont(m_pTitle, kFontTitle, false);
    ApplyLanguage();

    connect(&m_timer, &QTimer::timeout, this, &CSinoraView::DeviceTimer);
    m_timer.start(kDeviceTimerMs);
}

void CSinoraView::ApplyLanguage() {
    m_pTitle->setText(Text(kTextTitle));
    m_btnSelectAll->setText(Text(m_bSelectAllNext ? kTextSelectAll : kTextSelectNone));
    m_btnSearch->setText(Text(kTextSearch));
    LayoutHeader();
    UpdateSelectionCount();
}

void CSinoraView::LayoutHeader() {
    const QFontMetrics titleMetrics(m_pTitle->font());
    const QSize title = titleMetrics.size(Qt::TextSingleLine, m_pTitle->text());
    m_pTitle->setGeometry(kListLeft, (43 - title.height()) / 2, title.width(), title.height());

    // Wide enough for any count shown as a number and for the "over" text.
    const QFontMetrics metrics(m_pCount->font());
    const int t = metrics.horizontalAdvance(m_pTitle->text());
    const int c = std::max(metrics.horizontalAdvance(CountText(kCountShownMax)),
                           metrics.horizontalAdvance(CountText(kCountShownMax + 1)));
    const int countHeight = metrics.height();
    m_pCount->setGeometry(t + 32, (43 - countHeight) / 2, c, countHeight);

    m_btnDelete->setGeometry(t + c + 48, kButtonTop, 32, kButtonHeight);
    const int toggleLeft = m_btnDelete->geometry().right() + 1 + 17;
    const QFontMetrics buttonMetrics(m_btnSelectAll->font());
    const int toggleWidth =
        std::max({82, buttonMetrics.horizontalAdvance(Text(kTextSelectAll)) + 16,
                  buttonMetrics.horizontalAdvance(Text(kTextSelectNone)) + 16});
    m_btnSelectAll->setGeometry(toggleLeft, kButtonTop, toggleWidth, kButtonHeight);
    const int searchLeft = m_btnSelectAll->geometry().right() + 1 + 8;
    const int searchWidth = std::max(120, buttonMetrics.horizontalAdvance(m_btnSearch->text()) +
                                              kIconSize.width() + 24);
    m_btnSearch->setGeometry(searchLeft, kButtonTop, searchWidth, kButtonHeight);
}

void CSinoraView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_pList->setGeometry(kListLeft, kHeaderHeight, std::max(0, width() - kListLeft),
                         std::max(0, height() - kHeaderHeight));
}

void CSinoraView::UpdateSelectionCount() {
    const int n = m_pList->SelectedItemCount();
    m_pCount->setText(CountText(n));
    m_btnDelete->setEnabled(n > 0);
    m_pList->setFocus();
}

void CSinoraView::OnDelete() {
    // The header's button works on the selection as it stands; the
    // window's Delete command is the one that checks open wave windows.
    if (m_framework.GetSelectedCount() > 0 && m_framework.DeleteSelectedRecords(this) != 0)
        m_document.UpdateAllViews();
    UpdateSelectionCount();
}

void CSinoraView::OnSelectAll() {
    m_pList->SelectAll(m_bSelectAllNext != 0);
    m_bSelectAllNext = m_bSelectAllNext ? 0 : 1;
    m_btnSelectAll->setText(Text(m_bSelectAllNext ? kTextSelectAll : kTextSelectNone));
    UpdateSelectionCount();
}

void CSinoraView::UpdateSearchLook() {
    const bool active = records::HasPartialFilter(m_framework.GetOptions().searchColumns);
    SetButtonLook(m_btnSearch, active);
    m_btnSearch->setIcon(ArtworkIcon(active ? kArtSearchActive : kArtSearch, kIconSize));
}

void CSinoraView::OnSearch() {
    app::CECGOptions& options = m_framework.GetOptions();
    const QRect frame(mapToGlobal(QPoint(0, 0)), size());
    options.SetSearchDialogPosition(frame.right() + 1 - 38, frame.top() + 34);
    CSearchDlg dialog(options, this);
    if (dialog.DoModal() == platform::kIdOk) {
        UpdateSearchLook();
        m_document.UpdateAllViews();
    } else {
        m_pList->setFocus();
    }
}

} // namespace ui
