#include "chart/ChartCanvas.h"

#include "chart/Raster.h"

#include <cstdlib>

namespace kovan {

namespace {

// The logical size of a bitmap drawn at `scale`: its device size divided by the ratio and
// rounded, which gives back the logical size round(W × ratio) came from for any ratio ≥ 1.
QSize logicalSize(const QImage& image, const DeviceScale& scale) {
    if (scale.identity())
        return image.size();
    return QSize(roundHalfEven(image.width() / scale.ratio()),
                 roundHalfEven(image.height() / scale.ratio()));
}

} // namespace

ChartCanvas::ChartCanvas(QImage& image, ChartFont& font, std::vector<ChartTextBox>* texts)
    : image(image), font(font), texts(texts), m_scale(image.devicePixelRatio()),
      m_logical(logicalSize(image, m_scale)) {
    font.setScale(m_scale);
}

void ChartCanvas::fill(int x1, int y1, int x2, int y2, quint32 c) {
    const DeviceScale& s = m_scale;
    raster::fill(image, s.px(x1), s.px(y1), s.px(x2), s.px(y2), c);
}

void ChartCanvas::fillDevice(int x1, int y1, int x2, int y2, quint32 c) {
    raster::fill(image, x1, y1, x2, y2, c);
}

void ChartCanvas::line(int x1, int y1, int x2, int y2, quint32 c) {
    if (m_scale.identity())
        raster::line(image, x1, y1, x2, y2, c);
    else
        scaledLine(x1, y1, x2, y2, false, c);
}

void ChartCanvas::lineWithEnd(int x1, int y1, int x2, int y2, quint32 c) {
    if (m_scale.identity())
        raster::lineWithEnd(image, x1, y1, x2, y2, c);
    else
        scaledLine(x1, y1, x2, y2, true, c);
}

// A level line covers whole logical pixels: along its length the device pixels of those
// (abutting fills meet it exactly), across it lineWidth() rows or columns from the scaled
// position. A slanted line is the scaled Bresenham line repeated lineWidth() times, one
// device pixel apart across its longer axis.
void ChartCanvas::scaledLine(int x1, int y1, int x2, int y2, bool withEnd, quint32 c) {
    const DeviceScale& s = m_scale;
    const int lw = s.lineWidth();
    // The covered logical pixels a … b (inclusive) of a level line from p1 towards p2.
    auto covered = [withEnd](int p1, int p2, int& a, int& b) {
        if (p1 <= p2) {
            a = p1;
            b = withEnd ? p2 : p2 - 1;
        } else {
            a = withEnd ? p2 : p2 + 1;
            b = p1;
        }
        return a <= b;
    };
    int a = 0, b = 0;
    if (y1 == y2) {
        if (covered(x1, x2, a, b))
            raster::fill(image, s.px(a), s.px(y1), s.px(b + 1), s.px(y1) + lw, c);
        return;
    }
    if (x1 == x2) {
        if (covered(y1, y2, a, b))
            raster::fill(image, s.px(x1), s.px(a), s.px(x1) + lw, s.px(b + 1), c);
        return;
    }
    const int dx1 = s.px(x1), dy1 = s.px(y1), dx2 = s.px(x2), dy2 = s.px(y2);
    const bool xMajor = std::abs(x2 - x1) >= std::abs(y2 - y1);
    for (int k = 0; k < lw; ++k) {
        const int ox = xMajor ? 0 : k, oy = xMajor ? k : 0;
        if (withEnd)
            raster::lineWithEnd(image, dx1 + ox, dy1 + oy, dx2 + ox, dy2 + oy, c);
        else
            raster::line(image, dx1 + ox, dy1 + oy, dx2 + ox, dy2 + oy, c);
    }
}

void ChartCanvas::setPixel(int x, int y, quint32 c) {
    if (m_scale.identity()) {
        raster::setPixel(image, x, y, c);
        return;
    }
    const int lw = m_scale.lineWidth(), dx = m_scale.px(x), dy = m_scale.px(y);
    raster::fill(image, dx, dy, dx + lw, dy + lw, c);
}

void ChartCanvas::polygon(const QPoint* pts, int count, quint32 c) {
    if (m_scale.identity()) {
        raster::polygon(image, pts, count, c);
        return;
    }
    m_points.clear();
    for (int i = 0; i < count; ++i)
        m_points.emplace_back(m_scale.px(pts[i].x()), m_scale.px(pts[i].y()));
    raster::polygon(image, m_points.data(), int(m_points.size()), c);
}

// A wide line keeps its scaled width; a one-pixel polyline becomes one lineWidth() wide,
// shifted so that it starts on the scaled point's row and column like a level line.
void ChartCanvas::wideLine(const std::vector<QPoint>& points, int width, quint32 c) {
    if (m_scale.identity()) {
        raster::drawWideLine(image, points, width, c);
        return;
    }
    const int lw = m_scale.lineWidth();
    const bool thin = width <= 1;
    const int shift = thin ? lw / 2 : 0;
    m_points.clear();
    for (const QPoint& p : points)
        m_points.emplace_back(m_scale.px(p.x()) + shift, m_scale.px(p.y()) + shift);
    raster::drawWideLine(image, m_points, thin ? (lw > 1 ? lw : width) : m_scale.px(width), c);
}

void ChartCanvas::text(int x, int y, const QString& s, quint32 colour) {
    textDevice(m_scale.px(x), m_scale.px(y), s, colour);
}

void ChartCanvas::textDevice(int x, int y, const QString& s, quint32 colour) {
    if (image.isNull() || s.isEmpty())
        return;
    if (!m_painter) {
        if (m_scale.identity()) {
            m_painter.emplace(&image);
        } else {
            // bits() gives the bitmap its own pixels; the view draws into them unscaled.
            m_unscaled.emplace(image.bits(), image.width(), image.height(), image.bytesPerLine(),
                               image.format());
            m_painter.emplace(&*m_unscaled);
        }
    }
    font.draw(*m_painter, x, y, s, colour, texts);
}

} // namespace kovan
