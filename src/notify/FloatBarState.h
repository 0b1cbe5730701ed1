#pragma once

#include "notify/WindowDrag.h"

#include <QPoint>
#include <QRect>
#include <QString>

namespace kovan {

// The floating bar's rules without a window: its place, the height that follows the cursor,
// the spinner, pinning, the folder marker and dragging. TtopFloatForm binds it to its timers
// (height 500 ms, spinner 100 ms, both only while the bar shows). GUI thread only.
class FloatBarState {
public:
    static constexpr int kWidth = 632;
    static constexpr int kCollapsedHeight = 33;
    static constexpr int kExpandedHeight = 75;
    static constexpr int kHeightMs = 500;
    static constexpr int kSpinnerMs = 100;

    // setPos: 120 pixels left of the screen's right edge, 5 below its top.
    static QPoint setPos(const QRect& screen);

    // Height control tick with the bar at `bar` and the cursor at `cursor`: answers whether
    // the height changed (the window then takes height() and a new shape).
    bool heightTick(const QRect& bar, const QPoint& cursor);
    int height() const { return m_height; }
    void setHeight(int h) { m_height = h; }

    // Spinner tick: answers the next text of "--", "\", "|", "/".
    QString spinnerTick();
    int spinnerPhase() const { return m_spinnerPhase; }

    // Label2DblClick: toggles pinning; answers the new state.
    bool togglePin();
    bool pinned() const { return m_pinned; }
    // Hint of the caption "朗鸥策略".
    QString pinHint() const;

    // Image3DblClick: toggles the marker; answers the new state (true: the open folder).
    bool toggleMarker();
    bool marker() const { return m_marker; }

    // Dragging: a press starts one only while the bar shows and the cursor is strictly inside.
    void mousePress(const QRect& bar, const QPoint& cursor, bool showing);
    QPoint mouseMove(const QPoint& cursor) { return m_drag.move(cursor); }
    void mouseRelease() { m_drag.release(); }
    bool dragging() const { return m_drag.dragging(); }

private:
    int m_height = kExpandedHeight; // the design height until the first height tick
    int m_spinnerPhase = 0;         // Timer2.Tag
    bool m_pinned = false;          // the window's Tag
    bool m_marker = false;          // Image3.Tag
    WindowDrag m_drag;
};

} // namespace kovan
