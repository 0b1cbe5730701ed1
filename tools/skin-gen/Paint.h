#pragma once

// The small painting helpers every skin-gen picture shares, on top of the palette.

#include "Palette.h"

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QString>

#include <functional>

namespace skingen {

// Writes one picture under its resource name.
using SaveFn = std::function<void(const QImage& img, const QString& name)>;

// The set being painted: 1 for the 1× pictures, 2 for their "@2x" twins. Every picture is
// laid out in 1× (logical) pixels; at 2 its image has twice the pixels and that device pixel
// ratio, so QPainter draws the same artwork at twice the resolution.
inline int& pictureScale() {
    static int scale = 1;
    return scale;
}

// An image of w × h logical pixels in the present set.
inline QImage blank(int w, int h, QColor fill = Qt::transparent) {
    const int s = pictureScale();
    QImage img(w * s, h * s, QImage::Format_ARGB32);
    img.setDevicePixelRatio(s);
    img.fill(fill);
    return img;
}

inline QLinearGradient vertical(int h, QColor top, QColor bottom) {
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// A strip that panels stretch over their whole area: vertical gradient, optional line at the
// bottom.
inline QImage strip(int w, int h, QColor top, QColor bottom, QColor bottomLine = QColor()) {
    QImage img = blank(w, h);
    QPainter p(&img);
    p.fillRect(img.rect(), vertical(h, top, bottom));
    if (bottomLine.isValid()) {
        p.setPen(bottomLine);
        p.drawLine(0, h - 1, w - 1, h - 1);
    }
    return img;
}

// The corner pop-up's and the floating bar's pictures (NoticeArt.cpp).
void paintNoticeArt(const SaveFn& save);
// The video window's control buttons (VideoArt.cpp).
void paintVideoArt(const SaveFn& save);

} // namespace skingen
