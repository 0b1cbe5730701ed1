#include "shell/TickerView.h"

#include "shell/TickerSheet.h"

#include <QMetaObject>
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
        m_layerWidth = w;
        m_layerWanted = false;
        ++m_layerSerial;
    }
    m_layerMade.notify_all();
    update();
    return w;
}

int TickerView::requestLayer(const std::function<bool()>& cancelled) {
    std::unique_lock lock(m_layerLock);
    const quint64 before = m_layerSerial;
    m_layerWanted = true;
    // Posted without the layer lock, which the GUI thread takes while it paints.
    lock.unlock();
    QMetaObject::invokeMethod(this, &TickerView::makeWantedLayer, Qt::QueuedConnection);
    lock.lock();
    while (m_layerSerial == before) {
        if (cancelled && cancelled()) {
            m_layerWanted = false;
            return -1;
        }
        m_layerMade.wait_for(lock, std::chrono::milliseconds(10));
    }
    return m_layerWidth;
}

void TickerView::makeWantedLayer() {
    bool wanted = false;
    {
        std::lock_guard lock(m_layerLock);
        wanted = m_layerWanted;
    }
    if (wanted)
        resetLayer();
}

void TickerView::repaintSheet() {
    m_repaintPending.store(false);
    update();
}

void TickerView::showSheetRows(const QImage& sheet, int offset) {
    {
        std::lock_guard lock(m_layerLock);
        if (m_layer.isNull() || sheet.format() != m_layer.format())
            return;
        // Detach here, under the lock, never in the painter.
        uchar* dstBits = m_layer.bits();
        const qsizetype rowBytes = std::min(m_layer.bytesPerLine(), sheet.bytesPerLine());
        for (int y = 0; y < kLayerHeight; ++y) {
            const int sy = offset + y;
            if (sy < 0 || sy >= sheet.height())
                continue;
            std::memcpy(dstBits + qsizetype(y) * m_layer.bytesPerLine(), sheet.constScanLine(sy),
                        size_t(rowBytes));
        }
    }
    if (!m_repaintPending.exchange(true))
        QMetaObject::invokeMethod(this, &TickerView::repaintSheet, Qt::QueuedConnection);
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
