#include "notify/ClickLabel.h"

#include <QMouseEvent>

namespace kovan {

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {}

ClickLabel::ClickLabel(const QString& name, const QRect& geometry, QWidget* parent)
    : QLabel(parent) {
    setObjectName(name);
    setGeometry(geometry);
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        Q_EMIT clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
    event->accept();
}

void ClickLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    Q_EMIT entered();
}

void ClickLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    Q_EMIT left();
}

} // namespace kovan
