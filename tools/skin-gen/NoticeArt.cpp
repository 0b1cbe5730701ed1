// The corner pop-up's and the floating bar's pictures: the same blues, frame lines and rounded
// plates as the main window's chrome.

#include "Paint.h"

#include <QPainterPath>
#include <QRadialGradient>

namespace skingen {

namespace {

// The pop-up's bands (window coordinates): caption and notice title on the dark header, the
// notice text on a light sheet, the buttons on a pale footer.
constexpr int kHeaderBottom = 50;
constexpr int kFooterTop = 166;

void closeCross(QPainter& p, QRectF r, QColor colour, double width) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
}

// RBMSGBG 243 × 202: the pop-up's whole face, close glyph included (its click area has no
// picture of its own). The window cuts the rounded shape; the frame follows it.
QImage popupBackground() {
    const int w = 243, h = 202;
    QImage img = blank(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath body;
    body.addRoundedRect(QRectF(1.5, 1.5, w - 4, h - 4), 2.5, 2.5);
    p.setClipPath(body);

    p.fillRect(QRect(0, 0, w, kHeaderBottom), vertical(kHeaderBottom, kBlue, kTickerBlue));
    // A soft light behind the notice title.
    QRadialGradient glow(QPointF(w / 2.0, 40), 110);
    glow.setColorAt(0, QColor(0x3F, 0xA2, 0xE7, 120));
    glow.setColorAt(1, QColor(0x3F, 0xA2, 0xE7, 0));
    p.fillRect(QRect(0, 26, w, kHeaderBottom - 26), glow);
    p.setPen(QColor(255, 255, 255, 60));
    p.drawLine(QPointF(8, 25.5), QPointF(w - 9, 25.5));
    p.setPen(QColor(255, 255, 255, 90));
    p.drawLine(QPointF(2, 2.5), QPointF(w - 3, 2.5));

    p.fillRect(QRect(0, kHeaderBottom, w, kFooterTop - kHeaderBottom), QColor(0xF6, 0xFA, 0xFE));
    p.setPen(QColor(0xE1, 0xEE, 0xFA));
    for (int y = kHeaderBottom + 20; y < kFooterTop - 4; y += 16)
        p.drawLine(QPointF(12, y + 0.5), QPointF(w - 13, y + 0.5));
    p.fillRect(QRect(0, kFooterTop, w, h - kFooterTop),
               vertical(h - kFooterTop, QColor(0xEE, 0xF6, 0xFD), QColor(0xCF, 0xE5, 0xF8)));
    p.setPen(kLight);
    p.drawLine(QPointF(0, kFooterTop + 0.5), QPointF(w, kFooterTop + 0.5));
    p.setPen(kNavy);
    p.drawLine(QPointF(0, kHeaderBottom - 0.5), QPointF(w, kHeaderBottom - 0.5));

    // Close glyph in its click area (215, 3, 22, 20).
    QPainterPath plate;
    plate.addRoundedRect(QRectF(217.5, 4.5, 18, 17), 3, 3);
    p.fillPath(plate, QColor(255, 255, 255, 40));
    closeCross(p, QRectF(222.5, 8.5, 8, 8), Qt::white, 1.6);

    p.setClipping(false);
    p.setPen(QPen(kNavy, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
    return img;
}

// A rounded push button: a light plate with a blue rim, for dark labels on pale footers.
QImage paleButton(int w, int h) {
    QImage img = blank(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath plate;
    plate.addRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 4, 4);
    p.fillPath(plate, vertical(h, Qt::white, QColor(0xD6, 0xE9, 0xF9)));
    p.setPen(QPen(kLight, 1));
    p.drawPath(plate);
    p.setPen(QColor(255, 255, 255, 200));
    p.drawLine(QPointF(4, 1.5), QPointF(w - 5, 1.5));
    return img;
}

// TFBG, the floating bar's upper strip, stretched to 632 × 33: the title bar's gradient with a
// gloss line and a groove that frames the news ticker.
QImage floatUpperStrip() {
    const int w = 632, h = 33;
    QImage img = strip(w, h, kDeep, kTickerBlue);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(0, 0, w, h / 2), QColor(255, 255, 255, 22));
    p.setPen(QColor(255, 255, 255, 70));
    p.drawLine(0, 1, w - 1, 1);
    // The ticker's viewport (104 + 12, 4 + 3, 460, 16) sits in a slightly darker groove.
    QPainterPath groove;
    groove.addRoundedRect(QRectF(110.5, 4.5, 470, 21), 4, 4);
    p.fillPath(groove, QColor(0x01, 0x2E, 0x60, 90));
    p.setPen(QPen(QColor(0x3F, 0xA2, 0xE7, 120), 1));
    p.drawPath(groove);
    p.setPen(kNavy);
    p.drawLine(0, h - 1, w - 1, h - 1);
    return img;
}

// TFCLOSE 24 × 22: a white cross on a round plate.
QImage floatClose() {
    QImage img = blank(24, 22);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, 140), 1));
    p.setBrush(QColor(0x01, 0x2E, 0x60, 110));
    p.drawEllipse(QPointF(12, 11), 8, 8);
    closeCross(p, QRectF(9, 8, 6, 6), Qt::white, 1.6);
    return img;
}

// DSELL / DBUY 11 × 11: the order direction, down in green and up in red as on the rates
// ticker.
QImage directionArrow(bool up) {
    QImage img = blank(11, 11);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(up ? kUpRed : kDownGreen);
    const QPolygonF head = up ? QPolygonF({{5.5, 0.5}, {10.5, 5.5}, {0.5, 5.5}})
                              : QPolygonF({{5.5, 10.5}, {10.5, 5.5}, {0.5, 5.5}});
    p.drawPolygon(head);
    p.drawRect(up ? QRectF(3.5, 5.5, 4, 5) : QRectF(3.5, 0.5, 4, 5));
    return img;
}

} // namespace

void paintNoticeArt(const SaveFn& save) {
    save(popupBackground(), QStringLiteral("RBMSGBG"));
    save(paleButton(60, 22), QStringLiteral("RBMSGBTN"));
    save(floatUpperStrip(), QStringLiteral("TFBG"));
    save(floatClose(), QStringLiteral("TFCLOSE"));
    save(paleButton(40, 22), QStringLiteral("TFBTN"));
    save(directionArrow(false), QStringLiteral("DSELL"));
    save(directionArrow(true), QStringLiteral("DBUY"));
}

} // namespace skingen
