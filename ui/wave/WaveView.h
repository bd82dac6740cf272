// The wave window's client: one record on screen paper drawn by the wave
// paper, scrolled by bars, keys and the wheel, a page of strips at a time.
#pragma once

#include "app/GraphOption.h"
#include "render/WavePaper.h"

#include <QAbstractScrollArea>
#include <QSize>

namespace app {
class CECGFramework;
}

namespace records {
class CECGContentsData;
}

namespace ui {

class CWaveView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CWaveView(app::CECGFramework& framework, QWidget* parent = nullptr);

    // The record (borrowed; the frame owns it) and the graph colours of
    // the settings.
    void SetRecord(const records::CECGContentsData& record);
    // Copies the record's memo into the paper's memo form again.
    void UpdateMemo();

    render::CWavePaper& Paper() { return m_paper; }
    const render::CWavePaper& Paper() const { return m_paper; }
    void SetZoom(int percent);
    void SetSensitivity(int index);
    // Page changes of the paper; the view goes back to the top.
    void PreviousPage();
    void NextPage();
    bool HasPreviousPage() const;
    bool HasNextPage() const;

    // Scrolling in pixels of the view: lines and pages down (negative: up),
    // and columns of line width to the right (negative: left).
    void ScrollLines(int lines);
    void ScrollPages(int pages);
    void ScrollColumns(int columns);
    void ScrollToTop();

    // The sheet, the scroll page and the scroll line in pixels.
    QSize TotalSize() const { return m_sizeTotal; }
    QSize PageSize() const { return m_sizePage; }
    QSize LineSize() const { return m_sizeLine; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // Pixels across the screen the view is on: the paper scales with the
    // screen, not with the window, as 320 mm across its full width.
    int ScreenWidth() const;
    // Scroll extents from the paper at the current zoom.
    void UpdateScrollSizes();

    app::CECGFramework& m_framework;
    render::CWavePaper m_paper;
    app::CGraphOption m_graph;
    const records::CECGContentsData* m_pRecord = nullptr;
    QSize m_sizeTotal;
    QSize m_sizePage;
    QSize m_sizeLine;
};

} // namespace ui
