#include "ui/wave/WaveView.h"

#include "app/ECGFramework.h"
#include "records/ECGContentsData.h"
#include "ui/QPainterDC.h"

#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace ui {

namespace {

constexpr int kSheetWidth = 2060;
constexpr int kSheetHeight = 2970;
// The paper's screen mapping shows this many logical units across the
// screen's full width.
constexpr double kUnitsAcrossScreen = 3200.0;
constexpr int kOpeningZoom = 150;
constexpr int kWheelNotch = 120;

QColor FromColorRef(app::COLORREF colour) {
    return QColor(render::GetRValue(colour), render::GetGValue(colour), render::GetBValue(colour));
}

// A coded memo item with one bit set: the option it selects (1-based), or
// 0 when the code selects none.
int OptionOfCode(unsigned code, int options) {
    for (int option = 1; option <= options; ++option) {
        if (code == 1u << (option - 1))
            return option;
    }
    return 0;
}

} // namespace

CWaveView::CWaveView(app::CECGFramework& framework, QWidget* parent)
    : QAbstractScrollArea(parent), m_framework(framework) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_paper.SetFramework(&m_framework);
    m_paper.SetZoom(kOpeningZoom);
    UpdateScrollSizes();
}

void CWaveView::SetRecord(const records::CECGContentsData& record) {
    m_pRecord = &record;
    m_graph = m_framework.GetOptions();
    m_paper.SetGraphOption(m_graph);
    m_paper.SetData(&record);
    UpdateMemo();
    UpdateScrollSizes();
    viewport()->update();
}

void CWaveView::UpdateMemo() {
    if (m_pRecord == nullptr)
        return;
    const records::CECGContentsData& record = *m_pRecord;
    // Clearing the first option clears its whole group.
    m_paper.SetSituationChoice(1, 0);
    m_paper.SetSituationChoice(OptionOfCode(record.GetSituation(), 10), 1);
    m_paper.SetPositionChoice(1, 0);
    m_paper.SetPositionChoice(OptionOfCode(record.GetPosition(), 8), 1);
    m_paper.SetPostureChoice(1, 0);
    m_paper.SetPostureChoice(OptionOfCode(record.GetPosture(), 3), 1);
    for (int option = 1; option <= 10; ++option)
        m_paper.SetSymptomChoice(option, (record.GetSymptoms() >> (option - 1)) & 1);
    m_paper.SetSituationText(record.GetSituationText());
    m_paper.SetSymptomText(record.GetSymptomText());
    m_paper.SetPositionText(record.GetPositionText());
    m_paper.SetPostureText(record.GetPostureText());
    viewport()->update();
}

void CWaveView::SetZoom(int percent) {
    m_paper.SetZoom(percent);
    UpdateScrollSizes();
    viewport()->update();
}

void CWaveView::SetSensitivity(int index) {
    m_paper.SetSensitivity(index);
    viewport()->update();
}

bool CWaveView::HasPreviousPage() const {
    return m_paper.GetPageCount() >= 2 && m_paper.GetCurrentPage() > 0;
}

bool CWaveView::HasNextPage() const {
    return m_paper.GetPageCount() >= 2 && m_paper.GetCurrentPage() < m_paper.GetPageCount() - 1;
}

void CWaveView::PreviousPage() {
    m_paper.PreviousPage();
    viewport()->update();
    ScrollToTop();
}

void CWaveView::NextPage() {
    m_paper.NextPage();
    viewport()->update();
    ScrollToTop();
}

void CWaveView::ScrollLines(int lines) {
    QScrollBar* bar = verticalScrollBar();
    if (bar->maximum() > bar->minimum())
        bar->setValue(bar->value() + lines * m_sizeLine.height());
}

void CWaveView::ScrollPages(int pages) {
    QScrollBar* bar = verticalScrollBar();
    if (bar->maximum() > bar->minimum())
        bar->setValue(bar->value() + pages * m_sizePage.height());
}

void CWaveView::ScrollColumns(int columns) {
    QScrollBar* bar = horizontalScrollBar();
    if (bar->maximum() > bar->minimum())
        bar->setValue(bar->value() + columns * m_sizeLine.width());
}

void CWaveView::ScrollToTop() {
    verticalScrollBar()->setValue(verticalScrollBar()->minimum());
}

int CWaveView::ScreenWidth() const {
    const QScreen* shown = screen();
    const int width = shown != nullptr ? shown->geometry().width() : 0;
    return width > 0 ? width : 1920;
}

void CWaveView::UpdateScrollSizes() {
    const double pixelsPerUnit = ScreenWidth() / kUnitsAcrossScreen;
    const int zoom = m_paper.GetZoom();
    auto pixels = [pixelsPerUnit](double units) {
        return std::max(1, static_cast<int>(units * pixelsPerUnit));
    };
    m_sizeTotal = QSize(pixels(zoom / 100.0 * kSheetWidth), pixels(zoom / 100.0 * kSheetHeight));
    const render::PageSize page = m_paper.GetPageSize();
    m_sizePage = QSize(pixels(page.cx), pixels(page.cy));
    m_sizeLine = QSize(std::max(1, m_sizePage.width() / 10), std::max(1, m_sizePage.height() / 10));

    const QSize shown = viewport()->size();
    QScrollBar* across = horizontalScrollBar();
    across->setRange(0, std::max(0, m_sizeTotal.width() - shown.width()));
    across->setPageStep(m_sizePage.width());
    across->setSingleStep(m_sizeLine.width());
    QScrollBar* down = verticalScrollBar();
    down->setRange(0, std::max(0, m_sizeTotal.height() - shown.height()));
    down->setPageStep(m_sizePage.height());
    down->setSingleStep(m_sizeLine.height());
}

void CWaveView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollSizes();
}

void CWaveView::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / kWheelNotch;
    if (notches == 0) {
        event->ignore();
        return;
    }
    // Forward is up the sheet.
    ScrollLines(-notches);
    event->accept();
}

void CWaveView::paintEvent(QPaintEvent*) {
    const QSize shown = viewport()->size();
    if (shown.isEmpty())
        return;
    // The paper takes its scale from the device it draws on, so it draws on
    // tiles as wide as the screen, side by side for a view wider than that.
    const int tileWidth = ScreenWidth();
    const QColor background = FromColorRef(m_graph.colours[app::kColourBackground]);
    QPainter target(viewport());
    for (int left = 0; left < shown.width(); left += tileWidth) {
        QImage tile(tileWidth, shown.height(), QImage::Format_RGB32);
        tile.fill(background);
        {
            QPainter painter(&tile);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.translate(-(horizontalScrollBar()->value() + left),
                              -verticalScrollBar()->value());
            QPainterDC dc(painter, false);
            const int zoom = m_paper.GetZoom();
            m_paper.SetTextMeasure(dc.Measure());
            m_paper.SetDC(&dc);
            m_paper.SetContents(0, 0, -(zoom * kSheetWidth / 100), -(zoom * kSheetHeight / 100));
            m_paper.ApplyGraphOptions(m_graph.colours);
            m_paper.Draw();
            m_paper.SetDC(nullptr);
            m_paper.SetTextMeasure({});
        }
        target.drawImage(left, 0, tile);
    }
}

} // namespace ui
