#pragma once

#include "core/DeviceScale.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace kovan {

// One bitmap of the chart view's layer stack. Its bitmap is only touched under its own lock:
// the renderer publishes finished frames into it, the widget that shows the view copies or
// paints it. Any thread may call publish, snapshot and withBitmap.
class BitmapLayer {
public:
    BitmapLayer(const QRect& bounds, const QSize& bitmapSize);

    // Placement within the view. Fixed at creation.
    QRect bounds() const { return m_bounds; }

    // Puts `frame` onto the bitmap at (0, 0) under the lock (the part that fits), with the
    // frame's device pixel ratio. A frame of the
    // bitmap's size and format is shared rather than copied (QImage copy-on-write): the
    // publisher's next write into that image detaches it first, so a published picture never
    // changes. A publisher that draws every frame should therefore alternate between buffers
    // rather than draw into the one it has just published.
    void publish(const QImage& frame);

    // A deep copy of the bitmap, taken under the lock (all transparent before the first
    // publish).
    QImage snapshot() const;

    // Runs f(const QImage&) under the lock; f must not keep the reference. The image is null
    // until the first publish: the layer holds no pixels of its own before it has a frame (the
    // first frame of the bitmap's size is shared, not copied), and a null image shows nothing,
    // as the transparent bitmap it stands for.
    template <typename F> decltype(auto) withBitmap(F&& f) const {
        std::lock_guard guard(m_lock);
        return std::forward<F>(f)(static_cast<const QImage&>(m_bitmap));
    }

private:
    QImage clearBitmap() const;

    const QRect m_bounds;
    const QSize m_size;
    mutable std::mutex m_lock;
    QImage m_bitmap;
};

// The chart view: a stack of bitmap layers, bottom first, that a widget composites. The stack
// itself (add, remove, clear, size) is changed on the GUI thread; `layers`, `composite` and the
// published counter may be read from any thread (the list has its own lock, each bitmap its
// own).
class ChartView {
public:
    explicit ChartView(const QSize& size = QSize(), const DeviceScale& scale = DeviceScale());

    QSize size() const;
    // The widget reports its size here before asking the chart to resize.
    void setSize(const QSize& size);
    // Device pixels per logical pixel of the screen the view is shown on; the chart draws its
    // bitmaps at this scale (taken with the size, when the chart resizes). 1 by default.
    DeviceScale scale() const;
    void setScale(const DeviceScale& scale);

    std::shared_ptr<BitmapLayer> addLayer(const QRect& bounds, const QSize& bitmapSize);
    void removeLayer(const std::shared_ptr<BitmapLayer>& layer);
    void clearLayers();
    std::vector<std::shared_ptr<BitmapLayer>> layers() const;

    // All layers painted bottom-up onto an opaque black image of the view's size (what the
    // widget shows), in device pixels: round(size × ratio), with the ratio set.
    QImage composite() const;

    // Called after each publish (on the publishing thread, the GUI thread for a chart) with the
    // part of the view that changed, in the bitmaps' pixels (an empty region: all of it); the
    // widget schedules a repaint of that part from it. Counter for tests and tools.
    void setOnPublished(std::function<void(const QRegion& changed)> f);
    void notifyPublished(const QRegion& changed = QRegion());
    quint64 publishCount() const { return m_published.load(std::memory_order_acquire); }

private:
    mutable std::mutex m_listLock;
    QSize m_size;
    DeviceScale m_scale;
    std::vector<std::shared_ptr<BitmapLayer>> m_layers;
    std::function<void(const QRegion&)> m_onPublished;
    std::atomic<quint64> m_published{0};
};

} // namespace kovan
