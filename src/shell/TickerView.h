#pragma once

#include <QImage>
#include <QWidget>

#include <atomic>
#include <mutex>

namespace kovan {

// btmIV: the image view of the ticker band. It holds one display layer, a bitmap of
// (width − 25) × 25 shown at (25, 0), guarded by its own lock: the ticker worker copies strips
// of its sheet into it, the GUI thread paints it.
//
// Threads: resetLayer(), paintEvent — GUI thread; showSheetRows(), layerCopy() — any thread.
class TickerView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLayerLeft = 25;
    static constexpr int kLayerHeight = 25;

    explicit TickerView(QWidget* parent = nullptr);

    // Drops the present layer and makes a fresh one for the current width (filled with the
    // band colour). Returns the layer's width, which is the width the ticker's sheet takes.
    int resetLayer();

    // Copies rows offset … offset + 24 of `sheet` (full width) into the layer at (0, 0) under
    // the layer lock, then schedules a repaint on the GUI thread.
    void showSheetRows(const QImage& sheet, int offset);

    // A copy of the layer's bitmap, taken under its lock.
    QImage layerCopy() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    mutable std::mutex m_layerLock;
    QImage m_layer; // guarded by m_layerLock
    std::atomic<bool> m_repaintPending{false};
};

} // namespace kovan
