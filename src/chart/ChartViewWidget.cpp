#include "chart/ChartViewWidget.h"

#include "chart/ChartController.h"
#include "core/Trace.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace kovan {

ChartViewWidget::ChartViewWidget(ChartController& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller) {
    setObjectName(QStringLiteral("MVI"));
    setMouseTracking(true); // the cross-hair follows the pointer without a button held
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel comes from the view's bitmaps
    // Frames are published on this (the GUI) thread; each asks for one repaint of the part
    // that changed.
    m_controller.view().setOnPublished([this](const QRegion& changed) { repaintChanged(changed); });
    connect(&m_controller, &ChartController::crossModeChanged, this, &ChartViewWidget::showMode);
    showMode(m_controller.crossMode());
}

ChartViewWidget::~ChartViewWidget() {
    m_controller.view().setOnPublished(nullptr);
}

void ChartViewWidget::repaintChanged(const QRegion& changed) {
    if (changed.isEmpty()) {
        update();
        return;
    }
    // The bitmaps count device pixels (the view's scale); the widget's repaint takes logical
    // ones (the same at scale 1). Rounded outwards so no changed pixel is left out.
    const qreal ratio = m_controller.view().scale().ratio();
    for (const QRect& r : changed) {
        if (ratio == 1.0) {
            update(r);
            continue;
        }
        const QRectF logical(QPointF(r.topLeft()) / ratio, QSizeF(r.size()) / ratio);
        update(logical.toAlignedRect().adjusted(-1, -1, 1, 1));
    }
}

void ChartViewWidget::showMode(bool cross) {
    setCursor(cross ? Qt::CrossCursor : Qt::ArrowCursor);
}

void ChartViewWidget::paintEvent(QPaintEvent* event) {
    // Qt 6.4 tells no widget that its screen's ratio changed; reading it here catches a move
    // to another screen by the next frame (screenChanged asks for that frame).
    if (const DeviceScale scale(devicePixelRatioF()); !(scale == m_controller.view().scale())) {
        m_controller.viewResized(size(), scale); // draws and publishes the frame at the new scale
    }
    QPainter p(this);
    p.fillRect(event->rect(), Qt::black);
    for (const auto& layer : m_controller.view().layers()) {
        const QRect b = layer->bounds();
        layer->withBitmap([&](const QImage& bmp) {
            if (!bmp.isNull())
                p.drawImage(b.topLeft(), bmp);
        });
    }
    if (!m_barsShown && m_controller.chart().FDFulled()) {
        m_barsShown = true; // the first frame with bars reached the screen
        trace(QStringLiteral("chart window %1 %2 first frame shown")
                  .arg(m_controller.symbol(), m_controller.period()));
    }
}

void ChartViewWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    m_controller.mouseDown(event->button(), pos.x(), pos.y());
}

void ChartViewWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    m_controller.mouseMove(pos.x(), pos.y());
}

void ChartViewWidget::mouseReleaseEvent(QMouseEvent*) {
    m_controller.mouseUp();
}

void ChartViewWidget::wheelEvent(QWheelEvent* event) {
    m_controller.wheel(event->globalPosition().toPoint(), window()->frameGeometry().topLeft(),
                       event->angleDelta().y());
    event->accept();
}

void ChartViewWidget::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!plain || !m_controller.keyPress(event->key()))
        QWidget::keyPressEvent(event);
}

void ChartViewWidget::resizeEvent(QResizeEvent*) {
    m_controller.viewResized(size(), DeviceScale(devicePixelRatioF()));
}

void ChartViewWidget::showEvent(QShowEvent*) {
    m_screenWatch.follow();
}

} // namespace kovan
