// The video window's control bar buttons: play, pause and stop glyphs in white on a round
// blue plate, 30 × 24, with a lighter plate for the hovered state ("…H").

#include "Paint.h"

#include <QPainterPath>

namespace skingen {

namespace {

enum class Glyph { Play, Pause, Stop };

QImage videoButton(Glyph glyph, bool hover) {
    QImage img = blank(30, 24);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plate(4.5, 1.5, 21, 21);
    QLinearGradient g(0, plate.top(), 0, plate.bottom());
    g.setColorAt(0, hover ? kLight.lighter(125) : kLight);
    g.setColorAt(1, hover ? kBlue : kNavy);
    p.setPen(QPen(kNavy, 1));
    p.setBrush(g);
    p.drawEllipse(plate);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const QPointF c = plate.center();
    switch (glyph) {
    case Glyph::Play: {
        QPainterPath tri;
        tri.moveTo(c.x() - 3.5, c.y() - 5.5);
        tri.lineTo(c.x() + 5.5, c.y());
        tri.lineTo(c.x() - 3.5, c.y() + 5.5);
        tri.closeSubpath();
        p.drawPath(tri);
        break;
    }
    case Glyph::Pause:
        p.drawRect(QRectF(c.x() - 4.5, c.y() - 5, 3, 10));
        p.drawRect(QRectF(c.x() + 1.5, c.y() - 5, 3, 10));
        break;
    case Glyph::Stop:
        p.drawRect(QRectF(c.x() - 4.5, c.y() - 4.5, 9, 9));
        break;
    }
    return img;
}

} // namespace

void paintVideoArt(const SaveFn& save) {
    save(videoButton(Glyph::Play, false), QStringLiteral("VDOPLAY"));
    save(videoButton(Glyph::Play, true), QStringLiteral("VDOPLAYH"));
    save(videoButton(Glyph::Pause, false), QStringLiteral("VDOPAUSE"));
    save(videoButton(Glyph::Pause, true), QStringLiteral("VDOPAUSEH"));
    save(videoButton(Glyph::Stop, false), QStringLiteral("VDOSTOP"));
    save(videoButton(Glyph::Stop, true), QStringLiteral("VDOSTOPH"));
}

} // namespace skingen
