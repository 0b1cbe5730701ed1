#include "notify/FloatBarState.h"

namespace kovan {

QPoint FloatBarState::setPos(const QRect& screen) {
    return {screen.left() + screen.width() - kWidth - 120, screen.top() + 5};
}

bool FloatBarState::heightTick(const QRect& bar, const QPoint& cursor) {
    const int wanted = strictlyInside(bar, cursor) ? kExpandedHeight : kCollapsedHeight;
    if (wanted == m_height)
        return false;
    m_height = wanted;
    return true;
}

QString FloatBarState::spinnerTick() {
    static const QString kFrames[] = {QStringLiteral("--"), QStringLiteral("\\"),
                                      QStringLiteral("|"), QStringLiteral("/")};
    m_spinnerPhase = (m_spinnerPhase + 1) % 4;
    return kFrames[m_spinnerPhase];
}

bool FloatBarState::togglePin() {
    m_pinned = !m_pinned;
    return m_pinned;
}

QString FloatBarState::pinHint() const {
    return m_pinned ? QStringLiteral("双击后取消前置显示") : QStringLiteral("双击后始终前置显示");
}

bool FloatBarState::toggleMarker() {
    m_marker = !m_marker;
    return m_marker;
}

void FloatBarState::mousePress(const QRect& bar, const QPoint& cursor, bool showing) {
    m_drag.press(cursor, showing && strictlyInside(bar, cursor));
}

} // namespace kovan
