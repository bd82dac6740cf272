#include "ui/Artwork.h"

#include "ui/QPainterDC.h"

#include <QPainter>
#include <QSvgRenderer>

#include <filesystem>
#include <string>

namespace ui {

QPixmap ArtworkPixmap(unsigned id, QSize size, qreal devicePixelRatio) {
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    const std::filesystem::path file =
        std::filesystem::path(DefaultArtworkFolder()) / (std::to_string(id) + ".svg");
    QSvgRenderer renderer(QString::fromStdString(file.string()));
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return pixmap;
}

QIcon ArtworkIcon(unsigned id, QSize size) {
    QIcon icon;
    icon.addPixmap(ArtworkPixmap(id, size, 1.0));
    icon.addPixmap(ArtworkPixmap(id, size, 2.0));
    return icon;
}

} // namespace ui
