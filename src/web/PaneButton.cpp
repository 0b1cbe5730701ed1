#include "web/PaneButton.h"

#include <QMouseEvent>
#include <QPainter>

namespace kovan {

PaneButton::PaneButton(const QString& objectName, const QString& caption, QWidget* parent)
    : QWidget(parent), m_caption(caption) {
    setObjectName(objectName);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(60, 25);
}

void PaneButton::setImages(const QPixmap& left, const QPixmap& middle, const QPixmap& right) {
    m_left = left;
    m_middle = middle;
    m_right = right;
    update();
}

void PaneButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    if (!m_left.isNull() && !m_middle.isNull() && !m_right.isNull()) {
        p.drawPixmap(QRect(0, 0, 4, r.height()), m_left);
        p.drawPixmap(QRect(4, 0, r.width() - 8, r.height()), m_middle);
        p.drawPixmap(QRect(r.width() - 4, 0, 4, r.height()), m_right);
    } else {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x30, 0x9D, 0xE9));
        p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, m_caption);
}

void PaneButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

} // namespace kovan
