// The report's page sequence on a Qt page device (a PDF writer or a
// printer): one page per record. The caller names the document on the
// device before the target opens it, since a printer's job takes its name
// when it starts.
#pragma once

#include "render/PrintJob.h"
#include "ui/QPainterDC.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <memory>

namespace ui {

class CPagedTarget : public render::IPrintTarget {
public:
    explicit CPagedTarget(QPagedPaintDevice& device);

    // False when the device could not be opened; nothing is drawn then.
    bool IsOpen() const { return m_dc != nullptr; }
    QPainterDC& GetPainterDC() { return *m_dc; }

    render::CDC& GetDC() override { return *m_dc; }
    void StartDoc(std::string_view) override {}
    void StartPage() override;
    void EndPage() override {}
    void EndDoc() override;

private:
    QPagedPaintDevice& m_device;
    QPainter m_painter;
    std::unique_ptr<QPainterDC> m_dc;
    int m_nPages = 0;
};

} // namespace ui
