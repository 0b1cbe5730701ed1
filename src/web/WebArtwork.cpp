#include "web/WebArtwork.h"

#include <QBuffer>
#include <QPainter>
#include <QtMath>

namespace kovan::artwork {

QImage defaultTile() {
    QImage tile(14, 14, QImage::Format_ARGB32);
    tile.fill(QColor(0xF4, 0xF7, 0xFB));
    QPainter p(&tile);
    p.setPen(QColor(0xE1, 0xE8, 0xF0));
    p.drawLine(0, 13, 13, 13);
    p.drawLine(13, 0, 13, 13);
    return tile;
}

QByteArray defaultTilePng() {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    defaultTile().save(&buffer, "PNG");
    return png;
}

QList<QPixmap> defaultLoadingFrames(int size) {
    QList<QPixmap> frames;
    constexpr int kFrames = 8;
    for (int f = 0; f < kFrames; ++f) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const QPointF centre(size / 2.0, size / 2.0);
        const double radius = size * 0.36;
        const double dot = size * 0.09;
        for (int i = 0; i < kFrames; ++i) {
            const double angle = 2 * M_PI * i / kFrames - M_PI / 2;
            const int age = (f - i + kFrames) % kFrames; // 0 = the brightest dot
            QColor c(0x30, 0x9D, 0xE9);
            c.setAlphaF(1.0 - age * 0.11);
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawEllipse(centre + QPointF(radius * qCos(angle), radius * qSin(angle)), dot, dot);
        }
        frames.append(pm);
    }
    return frames;
}

} // namespace kovan::artwork
