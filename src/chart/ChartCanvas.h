#pragma once

#include "chart/ChartFont.h"
#include "core/DeviceScale.h"

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

namespace kovan {

// Where one drawing goes: a bitmap, the font it currently holds, and the list that records its
// texts (null when texts are not recorded).
//
// Device pixels. The bitmap's device pixel ratio says how many device pixels one logical pixel
// is (1 on a 1× screen). Callers draw in logical pixels, as the frame is laid out; the canvas
// maps each position and length through DeviceScale: fills cover the scaled rectangle,
// one-pixel lines are lineWidth() device pixels wide, texts are drawn at their scaled corner in
// the font scaled to round(pixel size × ratio). At ratio 1 each call is the raster primitive
// itself, pixel for pixel. The *Device calls take device pixels for what must fit a measured
// text (the font measures in device pixels).
//
// Texts go through one QPainter, opened on the bitmap at the first text and kept open until
// finish() or the canvas's end; the raster primitives write the same pixels directly in between,
// which is sound because the raster engine keeps no copy of them and opening it gave the bitmap
// its own pixels (a shared image is detached then). So call finish() before the bitmap is
// published, shared, swapped or replaced. On a scaled bitmap the painter works on an unscaled
// view of the same pixels, so that its coordinates are device pixels too.
class ChartCanvas {
public:
    ChartCanvas(QImage& image, ChartFont& font, std::vector<ChartTextBox>* texts);
    ChartCanvas(const ChartCanvas&) = delete;
    ChartCanvas& operator=(const ChartCanvas&) = delete;
    ~ChartCanvas() { finish(); }

    QImage& image;
    ChartFont& font;
    std::vector<ChartTextBox>* texts;

    const DeviceScale& scale() const { return m_scale; }
    // The bitmap's size in logical pixels.
    int width() const { return m_logical.width(); }
    int height() const { return m_logical.height(); }

    // In logical pixels: raster::fill, raster::line, raster::lineWithEnd, raster::setPixel,
    // raster::polygon and raster::drawWideLine, scaled.
    void fill(int x1, int y1, int x2, int y2, quint32 c);
    void line(int x1, int y1, int x2, int y2, quint32 c);
    void lineWithEnd(int x1, int y1, int x2, int y2, quint32 c);
    void setPixel(int x, int y, quint32 c);
    void polygon(const QPoint* pts, int count, quint32 c);
    void wideLine(const std::vector<QPoint>& points, int width, quint32 c);
    // s with its top-left corner at logical (x, y).
    void text(int x, int y, const QString& s, quint32 colour);

    // In device pixels.
    void fillDevice(int x1, int y1, int x2, int y2, quint32 c);
    void textDevice(int x, int y, const QString& s, quint32 colour);

    void finish() {
        m_painter.reset();
        m_unscaled.reset();
    }

private:
    void scaledLine(int x1, int y1, int x2, int y2, bool withEnd, quint32 c);

    DeviceScale m_scale;
    QSize m_logical;
    std::optional<QImage> m_unscaled; // the painter's view of a scaled bitmap
    std::optional<QPainter> m_painter;
    std::vector<QPoint> m_points; // scaled polyline points, reused
};

} // namespace kovan
