#pragma once

// The palette and the small painting helpers every skin-gen picture shares.

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QString>

#include <functional>

namespace skingen {

inline const QColor kBlue(0x30, 0x9D, 0xE9);       // window colour
inline const QColor kNavy(0x01, 0x3E, 0x7F);       // dark frame line
inline const QColor kLight(0x3F, 0xA2, 0xE7);      // light frame line
inline const QColor kTickerBlue(0x02, 0x5E, 0xA5); // ticker band
inline const QColor kDeep(0x01, 0x4C, 0x93);       // between navy and ticker blue
inline const QColor kSilver(0xC0, 0xC0, 0xC0);     // the window's colour key
inline const QColor kUpRed(0xF2, 0x4B, 0x3D);
inline const QColor kDownGreen(0x37, 0xD0, 0x6A);
inline const QColor kGold(0xF7, 0xC3, 0x3B);

// Writes one picture under its resource name.
using SaveFn = std::function<void(const QImage& img, const QString& name)>;

inline QImage blank(int w, int h, QColor fill = Qt::transparent) {
    QImage img(w, h, QImage::Format_ARGB32);
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

} // namespace skingen
