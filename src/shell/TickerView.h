#pragma once

#include "core/DeviceScale.h"
#include "shell/ScreenRatioWatch.h"

#include <QImage>
#include <QWidget>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace kovan {

// btmIV: the image view of the ticker band. It holds one display layer, a bitmap of
// (width − 25) × 25 shown at (25, 0), guarded by its own lock: the ticker worker copies strips
// of its sheet into it, the GUI thread paints it. On a screen with a device pixel ratio other
// than 1 the layer is that size in device pixels (scaled and rounded, with the ratio set) and
// the worker draws its sheet at the layer's scale; a layer whose ratio is no longer the
// screen's (the window moved to another screen) is announced by scaleChanged, and the worker
// that drew for it is replaced.
//
// The worker never touches the widget: it asks for a fresh layer or a repaint by posting a
// queued call to the view, which the GUI thread runs. The view is the calls' context object, so
// a call still queued when the view goes is dropped with it; the worker itself must be joined
// before the view goes (its owner, RatesTicker, does that), so no call is posted later.
//
// Threads: resetLayer(), paintEvent — GUI thread; requestLayer() — any thread but the GUI
// thread; showSheetRows(), layerCopy() — any thread.
class TickerView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLayerLeft = 25;
    static constexpr int kLayerHeight = 25;

    explicit TickerView(QWidget* parent = nullptr);

    // Drops the present layer and makes a fresh one for the current width (filled with the
    // band colour). Returns the layer's width, which is the width the ticker's sheet takes.
    int resetLayer();

    // Asks the GUI thread for a fresh layer and waits until it is there; returns its width, or
    // −1 when `cancelled` turned true while waiting (checked every 10 ms on the calling thread;
    // a layer still asked for then is not made).
    int requestLayer(const std::function<bool()>& cancelled);

    // The scale of the present layer (the screen's when it was made). Any thread.
    DeviceScale layerScale() const;

    // Copies rows offset … offset + 24 of `sheet` (full width; offset in logical rows, the
    // device rows from the scaled offset) into the layer at (0, 0) under the layer lock and asks
    // the GUI thread for a repaint (one request at a time). A sheet of another ratio than the
    // layer's is not shown.
    void showSheetRows(const QImage& sheet, int offset);

    // A copy of the layer's bitmap, taken under its lock.
    QImage layerCopy() const;

Q_SIGNALS:
    // The screen's ratio is no longer the layer's (GUI thread, once per change).
    void scaleChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // GUI thread, queued by requestLayer(): makes the layer when it is still wanted.
    void makeWantedLayer();
    // GUI thread, queued by showSheetRows().
    void repaintSheet();

    mutable std::mutex m_layerLock;
    std::condition_variable m_layerMade;
    QImage m_layer;                            // guarded by m_layerLock
    bool m_layerWanted = false;                // guarded by m_layerLock
    quint64 m_layerSerial = 0;                 // guarded by m_layerLock; counts resetLayer() calls
    int m_layerWidth = 0;                      // guarded by m_layerLock
    DeviceScale m_layerScale;                  // guarded by m_layerLock
    DeviceScale m_announced;                   // GUI thread: the ratio scaleChanged last told
    ScreenRatioWatch m_screenWatch{*this};     // follows the window from screen to screen
    std::atomic<bool> m_repaintPending{false}; // a repaint call is queued
};

} // namespace kovan
