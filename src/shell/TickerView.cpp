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
    const DeviceScale scale(devicePixelRatioF());
    QImage fresh(scale.px(w), scale.px(kLayerHeight), QImage::Format_RGB32);
    fresh.fill(TickerSheet::kBackground);
    if (!scale.identity())
        fresh.setDevicePixelRatio(scale.ratio());
    m_announced = scale;
    {
        std::lock_guard lock(m_layerLock);
        m_layer = fresh;
        m_layerWidth = w;
        m_layerScale = scale;
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

DeviceScale TickerView::layerScale() const {
    std::lock_guard lock(m_layerLock);
    return m_layerScale;
}

void TickerView::showSheetRows(const QImage& sheet, int offset) {
    {
        std::lock_guard lock(m_layerLock);
        if (m_layer.isNull() || sheet.format() != m_layer.format() ||
            sheet.devicePixelRatio() != m_layer.devicePixelRatio())
            return;
        // Detach here, under the lock, never in the painter.
        uchar* dstBits = m_layer.bits();
        const qsizetype rowBytes = std::min(m_layer.bytesPerLine(), sheet.bytesPerLine());
        const int first = m_layerScale.px(offset);
        for (int y = 0; y < m_layer.height(); ++y) {
            const int sy = first + y;
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

void TickerView::showEvent(QShowEvent*) {
    m_screenWatch.follow();
}

void TickerView::paintEvent(QPaintEvent*) {
    if (const DeviceScale now(devicePixelRatioF()); !(now == m_announced)) {
        m_announced = now;
        bool drawn = false;
        {
            std::lock_guard lock(m_layerLock);
            drawn = !m_layer.isNull();
        }
        if (drawn) // a layer at the old ratio: its worker makes way for one at the new
            Q_EMIT scaleChanged();
    }
    QPainter p(this);
    p.fillRect(rect(), QColor(0x30, 0x9D, 0xE9));
    std::lock_guard lock(m_layerLock);
    if (!m_layer.isNull())
        p.drawImage(kLayerLeft, 0, m_layer);
}

} // namespace kovan
