#include "chart/AlertLinesOverlay.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kovan {

namespace {

constexpr quint32 kTextColour = 0xFF000000;
constexpr int kDash = 5; // pixels drawn, then kGap left out
constexpr int kGap = 3;

// A small bell, 13 × 14 pixels, centred on column cx and row y.
void paintBell(ChartCanvas& canvas, int cx, int y, quint32 c) {
    canvas.fill(cx - 1, y - 7, cx + 2, y - 5, c); // the knob
    const QPoint body[] = {{cx - 2, y - 5}, {cx + 3, y - 5}, {cx + 5, y - 1}, {cx + 5, y + 2},
                           {cx + 7, y + 4}, {cx - 6, y + 4}, {cx - 4, y + 2}, {cx - 4, y - 1}};
    canvas.polygon(body, int(std::size(body)), c);
    canvas.fill(cx - 1, y + 5, cx + 2, y + 7, c); // the clapper
}

} // namespace

void AlertLinesOverlay::ensureLayer(const QSize& size, const QSize& bitmapSize) {
    if (m_layer && m_layer->bounds().size() == size && m_layerBitmap == bitmapSize && shown())
        return;
    if (m_layer)
        m_view->removeLayer(m_layer);
    m_layer = m_view->addLayer(QRect(QPoint(0, 0), size), bitmapSize);
    m_layerBitmap = bitmapSize;
}

void AlertLinesOverlay::paint(const std::vector<ChartAlertLine>& lines,
                              const AlertLinesFrame& frame,
                              const std::optional<ChartAlertLine>& moving) {
    m_drawn.clear();
    const int H = frame.height - 20; // the price area's height; the time axis is below
    const bool usable = frame.width > 60 && H > 0 && frame.scale.perPx > 0 &&
                        frame.scale.minPip > 0 && std::isfinite(frame.scale.high);
    for (const ChartAlertLine& line : usable ? lines : std::vector<ChartAlertLine>()) {
        const double price = moving && moving->id == line.id ? moving->price : line.price;
        if (!std::isfinite(price))
            continue;
        const int y = frame.scale.y(price);
        if (y >= 0 && y < H)
            m_drawn.push_back({line.id, y});
    }
    if (m_drawn.empty()) {
        clear();
        return;
    }
    const QSize size(frame.width, frame.height);
    const QSize bitmapSize = frame.device.size(size);
    if (m_image.size() != bitmapSize || m_image.devicePixelRatio() != frame.device.ratio()) {
        m_image = QImage(bitmapSize, QImage::Format_ARGB32_Premultiplied);
        m_image.setDevicePixelRatio(frame.device.ratio());
    }
    m_image.fill(0);
    {
        ChartCanvas canvas{m_image, m_font, nullptr};
        for (const DrawnLine& d : m_drawn) {
            const auto it = std::find_if(lines.begin(), lines.end(),
                                         [&](const ChartAlertLine& l) { return l.id == d.id; });
            const double price = moving && moving->id == d.id ? moving->price : it->price;
            paintLine(canvas, frame, price, d.y);
        }
    } // the canvas closes its painter before the image is published
    ensureLayer(size, bitmapSize);
    m_layer->publish(m_image);
    m_view->notifyPublished();
}

void AlertLinesOverlay::paintLine(ChartCanvas& canvas, const AlertLinesFrame& frame, double price,
                                  int y) {
    const int w = frame.width, W = w - 60;
    for (int x = 0; x < W; x += kDash + kGap)
        canvas.fill(x, y, std::min(x + kDash, W), y + 1, kColour);
    paintBell(canvas, 10, y, kColour);
    canvas.fill(w - 56, y - 8, w - 4, y + 8, kColour);
    canvas.text(w - 54, y - 7, priceLabel(price, frame.decimals), kTextColour);
}

void AlertLinesOverlay::clear() {
    m_drawn.clear();
    if (!shown())
        return;
    m_view->removeLayer(m_layer);
    m_view->notifyPublished();
}

bool AlertLinesOverlay::shown() const {
    if (!m_layer)
        return false;
    for (const auto& layer : m_view->layers())
        if (layer == m_layer)
            return true;
    return false;
}

int AlertLinesOverlay::rowOf(qint64 id) const {
    for (const DrawnLine& d : m_drawn)
        if (d.id == id)
            return d.y;
    return -1;
}

std::optional<qint64> AlertLinesOverlay::lineNear(int y) const {
    std::optional<qint64> best;
    int bestDistance = kHitTolerance + 1;
    for (const DrawnLine& d : m_drawn) {
        const int distance = std::abs(d.y - y);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = d.id;
        }
    }
    return best;
}

} // namespace kovan
