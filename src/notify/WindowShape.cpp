#include "notify/WindowShape.h"

#include <QPainterPath>
#include <QPolygon>

namespace kovan {

QRegion roundRectRegion(int width, int height, int ellipseW, int ellipseH) {
    const QRectF body(1, 1, width - 3, height - 3);
    if (body.isEmpty())
        return {};
    QPainterPath path;
    path.addRoundedRect(body, ellipseW / 2.0, ellipseH / 2.0);
    return QRegion(path.toFillPolygon().toPolygon(), Qt::WindingFill);
}

} // namespace kovan
