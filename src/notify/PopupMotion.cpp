#include "notify/PopupMotion.h"

namespace kovan {

QPoint PopupMotion::restingPos() const {
    return {workRight() - kWidth, workBottom() - kHeight};
}

PopupMotion::Shown PopupMotion::showMsg(int index, int count) {
    if (index == -1)
        index = count - 1;
    if (index < 0 || index > count - 1) {
        stopAll();
        m_visible = false;
        m_drag.release();
        return Shown::Hidden;
    }
    m_index = index;
    m_buttons.lastVisible = index > 0;
    m_buttons.nextVisible = index < count - 1;
    // A lone "上一个" takes the place of "下一个".
    const bool lastAlone = m_buttons.lastVisible && !m_buttons.nextVisible;
    m_buttons.lastImgLeft = lastAlone ? kNextImgLeft : kLastImgLeft;
    m_buttons.lastTxtLeft = lastAlone ? kNextTxtLeft : kLastTxtLeft;

    Shown shown = Shown::Updated;
    if (!m_visible) {
        m_pos = {workRight() - kWidth, workBottom() + 1};
        m_visible = true;
        m_slideIn = true;
        shown = Shown::Entered;
    }
    m_stayCounter = 0;
    m_stay = true;
    m_leave = false; // a leave in progress stops where the window stands
    return shown;
}

void PopupMotion::slideInTick() {
    if (!m_slideIn)
        return;
    const int step = m_slideCounter * 10;
    const int restTop = workBottom() - kHeight;
    if (m_pos.y() - step > restTop) {
        m_pos.ry() -= step;
    } else {
        m_pos.setY(restTop);
        m_slideIn = false;
    }
    ++m_slideCounter;
}

void PopupMotion::stayTick(const QPoint& cursor) {
    if (!m_stay || strictlyInside(rect(), cursor))
        return;
    if (m_stayCounter == 2) {
        m_slideCounter = 1;
        m_leave = true;
        m_stayCounter = 0;
        m_stay = false;
    } else {
        ++m_stayCounter;
    }
}

void PopupMotion::leaveTick() {
    if (!m_leave || m_slideIn)
        return;
    const bool inCorner = m_pos.x() == workRight() - kWidth;
    const bool notAbove = m_pos.y() >= workBottom() - kHeight;
    if (inCorner && notAbove && m_pos.y() + 10 < workBottom()) {
        m_pos.ry() += 10;
    } else {
        m_visible = false;
        m_leave = false;
        m_drag.release();
    }
}

void PopupMotion::startLeave() {
    m_slideCounter = 1;
    m_slideIn = false;
    m_stay = false;
    m_leave = true;
}

void PopupMotion::close() {
    stopAll();
    m_visible = false;
    m_drag.release();
}

void PopupMotion::mousePress(const QPoint& cursor) {
    m_drag.press(cursor, m_visible && !m_slideIn && !m_leave && strictlyInside(rect(), cursor));
}

void PopupMotion::mouseMove(const QPoint& cursor) {
    m_pos += m_drag.move(cursor);
}

} // namespace kovan
