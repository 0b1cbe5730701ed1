#include "media/VideoSurface.h"

#include <QPainter>

namespace kovan {

VideoSurface::VideoSurface(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pvPae"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VideoSurface::setFrame(const QImage& frame) {
    m_frame = frame;
    update();
}

QRect VideoSurface::fitted(const QSize& picture, const QRect& area) {
    if (picture.isEmpty() || area.isEmpty())
        return {};
    const QSize size = picture.scaled(area.size(), Qt::KeepAspectRatio);
    return QRect(area.left() + (area.width() - size.width()) / 2,
                 area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
}

void VideoSurface::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0x1A, 0x1A, 0x1A));
    if (m_frame.isNull())
        return;
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(fitted(m_frame.size(), rect()), m_frame);
}

} // namespace kovan
