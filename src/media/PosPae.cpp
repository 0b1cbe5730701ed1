#include "media/PosPae.h"

#include "media/PositionBar.h"

#include <QMouseEvent>
#include <QPainter>

namespace kovan {

PosPae::PosPae(std::function<Figures()> figures, QWidget* parent)
    : QWidget(parent), m_figures(std::move(figures)) {
    setObjectName(QStringLiteral("posPae"));
    setCursor(Qt::PointingHandCursor);
}

void PosPae::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width(), h = height();
    p.fillRect(rect(), palette().color(QPalette::Disabled, QPalette::WindowText));
    const Figures f = m_figures ? m_figures() : Figures{};
    if (const int down = PositionBar::partWidth(f.mediaDown, f.mediaSize, w); down > 0)
        p.fillRect(QRect(0, 0, down, h), palette().color(QPalette::Active, QPalette::Highlight));
    if (const int played = PositionBar::partWidth(f.playDuat, f.duration, w); played > 0)
        p.fillRect(QRect(0, 0, played, h), QColor(0x30, 0x9D, 0xE9));
}

void PosPae::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Q_EMIT clicked(int(event->position().x()), width());
}

} // namespace kovan
