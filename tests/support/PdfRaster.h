// The pages of a PDF file as images at a known resolution, drawn by
// pdftoppm (poppler-utils) without anti-aliasing, so every pixel of a line
// has the line's own colour.
#pragma once

#include <QImage>
#include <QProcess>
#include <QString>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testsupport {

inline std::vector<QImage> RasterisePdf(const std::string& pdf, int dpi) {
    const QString prefix = QString::fromStdString(pdf) + ".page";
    QProcess process;
    process.start("pdftoppm", {"-r", QString::number(dpi), "-aa", "no", "-aaVector", "no", "-png",
                               QString::fromStdString(pdf), prefix});
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        ADD_FAILURE() << "pdftoppm (poppler-utils) could not draw " << pdf << ": "
                      << process.readAllStandardError().toStdString()
                      << process.errorString().toStdString();
        return {};
    }
    std::vector<QImage> pages;
    for (int page = 1;; ++page) {
        const QImage image(prefix + "-" + QString::number(page) + ".png");
        if (image.isNull())
            break;
        pages.push_back(image.convertToFormat(QImage::Format_RGB32));
    }
    return pages;
}

// The lowest row of a page, in millimetres from its top edge, that holds
// anything but white.
inline double LowestInkMm(const QImage& page, int dpi) {
    for (int y = page.height() - 1; y >= 0; --y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 250)
                return (y + 1) * 25.4 / dpi;
    return 0;
}

} // namespace testsupport
