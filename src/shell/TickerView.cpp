#include "shell/TickerView.h"

#include "shell/TickerSheet.h"

#include <QPainter>

#include <cstring>

namespace kovan {

TickerView::TickerView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("btmIV"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int TickerView::resetLayer() {
    const int w = std::max(0, width() - kLayerLeft);
    QImage fresh(w, kLayerHeight, QImage::Format_RGB32);
    fresh.fill(TickerSheet::kBackground);
    {
        std::lock_guard lock(m_layerLock);
        m_layer = fresh;
    }
    update();
    return w;
}

void TickerView::showSheetRows(const QImage& sheet, int offset) {
    {
        std::lock_guard lock(m_layerLock);
        if (m_layer.isNull())
            return;
        // Detach here, under the lock, never in the painter.
        uchar* dstBits = m_layer.bits();
        const int rowBytes = std::min<qsizetype>(m_layer.bytesPerLine(), sheet.bytesPerLine());
        for (int y = 0; y < kLayerHeight; ++y) {
            const int sy = offset + y;
            uchar* dst = dstBits + qsizetype(y) * m_layer.bytesPerLine();
            if (sy < 0 || sy >= sheet.height() || sheet.format() != m_layer.format())
                continue;
            std::memcpy(dst, sheet.constScanLine(sy), size_t(rowBytes));
        }
    }
    // One queued repaint at a time is enough; later copies land in the same paint.
    if (!m_repaintPending.exchange(true)) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_repaintPending.store(false);
                update();
            },
            Qt::QueuedConnection);
    }
}

QImage TickerView::layerCopy() const {
    std::lock_guard lock(m_layerLock);
    return m_layer.copy();
}

void TickerView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0x30, 0x9D, 0xE9));
    std::lock_guard lock(m_layerLock);
    if (!m_layer.isNull())
        p.drawImage(kLayerLeft, 0, m_layer);
}

} // namespace kovan
