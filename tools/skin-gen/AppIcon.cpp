#include "AppIcon.h"

#include "Palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>

using namespace skingen;

namespace {

// The geometry, in units of a 64 × 64 grid, shared by the picture and the SVG.
constexpr double kPlate = 2, kPlateSize = 60, kPlateRadius = 12, kPlateLine = 2;
constexpr double kBarHeights[] = {14, 22, 30, 40};
constexpr double kBarLeft = 13, kBarStep = 10, kBarWidth = 7, kBarBase = 52, kBarRadius = 1.5;
constexpr double kTrendWidth = 3;
constexpr double kTrend[][2] = {{12, 34}, {27, 24}, {37, 28}, {53, 12}};

QString hex(const QColor& c) {
    return c.name(QColor::HexRgb).toUpper();
}

QString num(double v) {
    return QString::number(v, 'g', 6);
}

} // namespace

QImage appIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 64.0;
    QPainterPath plate;
    plate.addRoundedRect(QRectF(kPlate * s, kPlate * s, kPlateSize * s, kPlateSize * s),
                         kPlateRadius * s, kPlateRadius * s);
    QLinearGradient fill(0, 0, 0, size);
    fill.setColorAt(0, kLight);
    fill.setColorAt(1, kNavy);
    p.fillPath(plate, fill);
    p.setPen(QPen(Qt::white, kPlateLine * s));
    p.drawPath(plate);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int i = 0; i < 4; ++i)
        p.drawRoundedRect(QRectF((kBarLeft + i * kBarStep) * s, (kBarBase - kBarHeights[i]) * s,
                                 kBarWidth * s, kBarHeights[i] * s),
                          kBarRadius * s, kBarRadius * s);
    p.setPen(QPen(kGold, kTrendWidth * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF trend;
    for (const auto& pt : kTrend)
        trend << QPointF(pt[0] * s, pt[1] * s);
    p.drawPolyline(trend);
    return img;
}

QByteArray appIconSvg() {
    QString svg = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- Written by skin-gen. -->\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" "
        "viewBox=\"0 0 64 64\">\n"
        "  <defs>\n"
        "    <linearGradient id=\"plate\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"0\" "
        "x2=\"0\" y2=\"64\">\n");
    svg += QStringLiteral("      <stop offset=\"0\" stop-color=\"%1\"/>\n").arg(hex(kLight));
    svg += QStringLiteral("      <stop offset=\"1\" stop-color=\"%1\"/>\n").arg(hex(kNavy));
    svg += QStringLiteral("    </linearGradient>\n  </defs>\n");
    svg += QStringLiteral("  <rect x=\"%1\" y=\"%1\" width=\"%2\" height=\"%2\" rx=\"%3\" "
                          "fill=\"url(#plate)\" stroke=\"#FFFFFF\" stroke-width=\"%4\"/>\n")
               .arg(num(kPlate), num(kPlateSize), num(kPlateRadius), num(kPlateLine));
    for (int i = 0; i < 4; ++i)
        svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" "
                              "fill=\"#FFFFFF\"/>\n")
                   .arg(num(kBarLeft + i * kBarStep), num(kBarBase - kBarHeights[i]),
                        num(kBarWidth), num(kBarHeights[i]), num(kBarRadius));
    QStringList points;
    for (const auto& pt : kTrend)
        points << num(pt[0]) + u',' + num(pt[1]);
    svg += QStringLiteral("  <polyline points=\"%1\" fill=\"none\" stroke=\"%2\" "
                          "stroke-width=\"%3\" stroke-linecap=\"round\" "
                          "stroke-linejoin=\"round\"/>\n")
               .arg(points.join(u' '), hex(kGold), num(kTrendWidth));
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}
