#include "shell/SkinPanel.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

namespace kovan {

SkinPanel::SkinPanel(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
}

void SkinPanel::setCaption(const QString& caption) {
    m_caption = caption;
    update();
}

void SkinPanel::setPainter(Painter painter) {
    m_painter = std::move(painter);
    update();
}

void SkinPanel::drawCentred(QPainter& p, const QRect& area, const QString& text) {
    const QFontMetrics fm(p.font());
    const int x = (area.width() - fm.horizontalAdvance(text)) / 2;
    const int y = (area.height() - fm.height()) / 2;
    p.drawText(area.left() + x, area.top() + y + fm.ascent(), text);
}

void SkinPanel::paintEvent(QPaintEvent*) {
    if (!m_painter)
        return;
    QPainter p(this);
    m_painter(p, *this);
}

void SkinPanel::mousePressEvent(QMouseEvent* event) {
    m_pressedInside = event->button() == Qt::LeftButton;
    Q_EMIT pressed(event);
}

void SkinPanel::mouseReleaseEvent(QMouseEvent* event) {
    Q_EMIT released(event);
    const bool click = m_pressedInside && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressedInside = false;
    if (click)
        Q_EMIT clicked();
}

void SkinPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
}

void SkinPanel::enterEvent(QEnterEvent*) {
    Q_EMIT entered();
}

void SkinPanel::leaveEvent(QEvent*) {
    Q_EMIT left();
}

void SkinPanel::contextMenuEvent(QContextMenuEvent* event) {
    Q_EMIT contextMenuAsked(event->globalPos());
}

} // namespace kovan
