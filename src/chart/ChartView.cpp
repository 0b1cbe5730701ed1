#include "chart/ChartView.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

namespace kovan {

BitmapLayer::BitmapLayer(const QRect& bounds, const QSize& bitmapSize)
    : m_bounds(bounds), m_size(bitmapSize) {}

void BitmapLayer::publish(const QImage& frame) {
    std::lock_guard guard(m_lock);
    if (m_size.isEmpty())
        return;
    if (m_bitmap.isNull()) {
        // The first frame: shared when it fits, as below; otherwise onto a clear bitmap.
        if (frame.size() == m_size && frame.format() == QImage::Format_ARGB32_Premultiplied) {
            m_bitmap = frame;
            return;
        }
        m_bitmap = clearBitmap();
    }
    if (frame.format() != m_bitmap.format()) {
        m_bitmap.setDevicePixelRatio(1); // copied pixel for pixel
        QPainter p(&m_bitmap);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        QImage unscaled = frame;
        unscaled.setDevicePixelRatio(1);
        p.drawImage(0, 0, unscaled);
        p.end();
        m_bitmap.setDevicePixelRatio(frame.devicePixelRatio());
        return;
    }
    if (frame.size() == m_bitmap.size()) {
        // The usual case: take the frame's pixels by sharing them instead of copying. Whoever
        // writes into a shared image next (the renderer into its buffer, which only happens
        // after it has published another one) gets its own copy first, so the pixels we hold
        // never change under a reader.
        m_bitmap = frame;
        return;
    }
    // Same format, another size (the view is being resized): the part that fits, row by row.
    m_bitmap.setDevicePixelRatio(frame.devicePixelRatio());
    const int rows = std::min(frame.height(), m_bitmap.height());
    const qsizetype bytes =
        qsizetype(std::min(frame.width(), m_bitmap.width())) * (frame.depth() / 8);
    for (int y = 0; y < rows; ++y)
        std::memcpy(m_bitmap.scanLine(y), frame.constScanLine(y), size_t(bytes));
}

QImage BitmapLayer::snapshot() const {
    std::lock_guard guard(m_lock);
    if (m_bitmap.isNull() && !m_size.isEmpty())
        return clearBitmap();
    return m_bitmap.copy();
}

QImage BitmapLayer::clearBitmap() const {
    QImage clear(m_size, QImage::Format_ARGB32_Premultiplied);
    clear.fill(Qt::transparent);
    return clear;
}

ChartView::ChartView(const QSize& size, const DeviceScale& scale) : m_size(size), m_scale(scale) {}

QSize ChartView::size() const {
    std::lock_guard guard(m_listLock);
    return m_size;
}

void ChartView::setSize(const QSize& size) {
    std::lock_guard guard(m_listLock);
    m_size = size;
}

DeviceScale ChartView::scale() const {
    std::lock_guard guard(m_listLock);
    return m_scale;
}

void ChartView::setScale(const DeviceScale& scale) {
    std::lock_guard guard(m_listLock);
    m_scale = scale;
}

std::shared_ptr<BitmapLayer> ChartView::addLayer(const QRect& bounds, const QSize& bitmapSize) {
    auto layer = std::make_shared<BitmapLayer>(bounds, bitmapSize);
    std::lock_guard guard(m_listLock);
    m_layers.push_back(layer);
    return layer;
}

void ChartView::removeLayer(const std::shared_ptr<BitmapLayer>& layer) {
    std::lock_guard guard(m_listLock);
    m_layers.erase(std::remove(m_layers.begin(), m_layers.end(), layer), m_layers.end());
}

void ChartView::clearLayers() {
    std::lock_guard guard(m_listLock);
    m_layers.clear();
}

std::vector<std::shared_ptr<BitmapLayer>> ChartView::layers() const {
    std::lock_guard guard(m_listLock);
    return m_layers;
}

QImage ChartView::composite() const {
    const QSize sz = size();
    const DeviceScale s = scale();
    QImage out(sz.isEmpty() ? QSize(1, 1) : s.size(sz), QImage::Format_ARGB32_Premultiplied);
    if (!s.identity())
        out.setDevicePixelRatio(s.ratio());
    out.fill(Qt::black);
    QPainter p(&out);
    for (const auto& layer : layers()) {
        const QRect b = layer->bounds();
        layer->withBitmap([&](const QImage& bmp) {
            if (!bmp.isNull())
                p.drawImage(b.topLeft(), bmp);
        });
    }
    p.end();
    return out;
}

void ChartView::setOnPublished(std::function<void(const QRegion&)> f) {
    std::lock_guard guard(m_listLock);
    m_onPublished = std::move(f);
}

void ChartView::notifyPublished(const QRegion& changed) {
    m_published.fetch_add(1, std::memory_order_acq_rel);
    std::function<void(const QRegion&)> f;
    {
        std::lock_guard guard(m_listLock);
        f = m_onPublished;
    }
    if (f)
        f(changed);
}

} // namespace kovan
