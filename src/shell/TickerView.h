#pragma once

#include <QImage>
#include <QWidget>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

class QTimer;

namespace kovan {

// btmIV: the image view of the ticker band. It holds one display layer, a bitmap of
// (width − 25) × 25 shown at (25, 0), guarded by its own lock: the ticker worker copies strips
// of its sheet into it, the GUI thread paints it.
//
// The worker never calls into Qt: it leaves requests under the lock (a fresh layer, a repaint)
// and a GUI-thread timer of the view carries them out every 20 ms.
//
// Threads: resetLayer(), paintEvent — GUI thread; requestLayer() — any thread but the GUI
// thread; showSheetRows(), layerCopy() — any thread.
class TickerView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLayerLeft = 25;
    static constexpr int kLayerHeight = 25;
    static constexpr int kPumpMs = 20;

    explicit TickerView(QWidget* parent = nullptr);

    // Drops the present layer and makes a fresh one for the current width (filled with the
    // band colour). Returns the layer's width, which is the width the ticker's sheet takes.
    int resetLayer();

    // Asks the GUI thread for a fresh layer and waits until it is there; returns its width, or
    // −1 when `cancelled` turned true while waiting (checked every 10 ms).
    int requestLayer(const std::function<bool()>& cancelled);

    // Copies rows offset … offset + 24 of `sheet` (full width) into the layer at (0, 0) under
    // the layer lock; the view repaints at its next pump.
    void showSheetRows(const QImage& sheet, int offset);

    // A copy of the layer's bitmap, taken under its lock.
    QImage layerCopy() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void pump();

    mutable std::mutex m_layerLock;
    std::condition_variable m_layerMade;
    QImage m_layer;             // guarded by m_layerLock
    bool m_layerWanted = false; // guarded by m_layerLock
    quint64 m_layerSerial = 0;  // guarded by m_layerLock; counts resetLayer() calls
    int m_layerWidth = 0;       // guarded by m_layerLock
    std::atomic<bool> m_repaintPending{false};
    QTimer* m_pump = nullptr;
};

} // namespace kovan
