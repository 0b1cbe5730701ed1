#pragma once

#include <QPoint>
#include <QRect>

namespace kovan {

// Whether `p` lies strictly inside `r`: not on its first column or row, and left of its right
// edge and above its bottom edge (the edges one past the last pixel). Screen coordinates.
inline bool strictlyInside(const QRect& r, const QPoint& p) {
    return p.x() > r.left() && p.x() < r.left() + r.width() && p.y() > r.top() &&
           p.y() < r.top() + r.height();
}

// Dragging a borderless window by the mouse: a press may start a drag, each move shifts the
// window by the cursor's movement since the last point, a release ends it. Screen coordinates;
// GUI thread only.
class WindowDrag {
public:
    // A press with the cursor at `cursor`; starts a drag only when `allowed`.
    void press(const QPoint& cursor, bool allowed) {
        m_dragging = allowed;
        if (allowed)
            m_last = cursor;
    }
    // The offset to move the window by (0, 0 when not dragging).
    QPoint move(const QPoint& cursor) {
        if (!m_dragging)
            return {};
        const QPoint delta = cursor - m_last;
        m_last = cursor;
        return delta;
    }
    void release() { m_dragging = false; }
    bool dragging() const { return m_dragging; }

private:
    bool m_dragging = false;
    QPoint m_last;
};

} // namespace kovan
